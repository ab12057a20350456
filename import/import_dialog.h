#pragma once

#include "import/import_host.h"
#include "import/source_connection.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QToolButton;

namespace vembra {

// The modal results of the dialog.
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// The filter of the source file dialog, as the design gives it, and in Qt's form.
inline constexpr const char* kSourceFilter =
    "Norv system data (*.norv)|*.norv|CPD Garvik data (*.cpd)|*.cpd|All files (*.*)|*.*";
QString qtFileFilter(const QString& pairs);

// The import dialog: names the source, picks the nodes, names the destination and runs the
// transfer. Created once, shown again for every import.
class Tfrm_Export : public QDialog {
    Q_OBJECT
public:
    Tfrm_Export(ImportHost host, QWidget* parent = nullptr);
    ~Tfrm_Export() override;

    // Handlers, callable without a user (tests drive the dialog through them).
    // Resets the dialog and loads the history of the server and path fields.
    void FormShow();
    // Saves the history; closing is always allowed.
    void FormCloseQuery();
    // Proposes the destination name from the path field.
    void Edit2Change();
    // "Close": the dialog ends with OK.
    void SpeedButton1Click();
    // The source chooser: reset, the server's platform, then the source.
    void SpeedButton2Click();
    // ">", ">>", "<", "<<": the moves between the two lists.
    void btn_LeftToRightClick();
    void btn_LeftToRightAllClick();
    void btn_RightToLeftClick();
    void btn_RightToLeftAllClick();
    // "Start export": the destination, then every node of DstList in turn.
    void btn_StartExportClick();

    // Empties the lists and status texts and ticks "Clear local database".
    void ResetDialog();
    // Enables the list buttons and "Start export" by the list counts.
    void UpdateMoveButtons();
    // The lowest selected index, -1 when nothing is selected.
    static int FirstSelectedIndex(QListWidget* list);
    // Appends the selected items, last first, to dest and removes them from list.
    void MoveSelectedItems(QListWidget* list, QListWidget* dest);
    // Focuses the list and selects the item at index, kept inside the list.
    void ReselectAfterMove(QListWidget* list, int index);

    // Sets ServerPlatform and the platform line from the server named in Edit1.
    void QueryServerPlatform();
    // Works out the source (a file dialog for files on this machine) and opens it.
    void ChooseSource();
    // Sets the probe flags and the i-Vexel group from the source's settings database.
    void ReadSourceSettings();
    // Points the local components at the destination named in ed_DBFileName.
    void PrepareDestination();

    // State of the source chosen last.
    std::uint8_t ServerPlatform = kPlatformNone;
    bool HasJumperDistance = false;
    QString FSourceName;

    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QFrame* Panel2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QLabel* Status1 = nullptr;
    QLabel* Status2 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* SrcList = nullptr;
    QToolButton* btn_LeftToRight = nullptr;
    QToolButton* btn_LeftToRightAll = nullptr;
    QToolButton* btn_RightToLeft = nullptr;
    QToolButton* btn_RightToLeftAll = nullptr;
    QListWidget* DstList = nullptr;
    QLabel* Label6 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* box_ClearDestination = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* ed_DBFileName = nullptr;
    QToolButton* btn_StartExport = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QProgressBar* Progress1 = nullptr;

    // The program's state and boxes the dialog works with.
    ImportHost& host() { return m_host; }

public slots:
    // Every way of closing saves the history first.
    void done(int result) override;
    // The close box: Cancel (not while a transfer runs).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    bool runStep(const std::function<void()>& step);
    void showSourceState(const SourceState& state);
    void setTransferring(bool on);

    ImportHost m_host;
    bool m_transferring = false;
    bool m_escPressed = false;
    bool m_lastPrepared = false;
};

// Shows the import dialog modally over the owner (the main window) with the program's state;
// returns its modal result (1 = OK).
int runImportDialog(QWidget* owner, const ImportHost& host);

} // namespace vembra
