#pragma once

#include "model/map_overlay.h"
#include "model/map_view.h"
#include "platform/metafile/metafile_picture.h"
#include "print/work_order.h"

#include <QColor>
#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QLockFile;
class QMenu;
class QMouseEvent;
class QWheelEvent;
class QPainter;
class QPrinter;
class QScrollBar;
class QTableWidget;
class QTimer;
class QToolButton;

namespace vembra {

class PaintBox;
class RegistrySettings;

// The navigator's one working window: the map area on the left, the control panel on the right.
// Its handlers are spread over files by concern (layout, menus, settings, entry, ...).
class T_frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The menu command of the About item.
    static constexpr int kAboutCommand = 1025;
    // Design size of the client area.
    static constexpr int kDesignClientWidth = 1007;
    static constexpr int kDesignClientHeight = 710;

    // Creates the window and runs FormCreate. The settings store is the user's own unless one is
    // given (tests give a file of their own).
    explicit T_frmMain(RegistrySettings* settings = nullptr, QWidget* parent = nullptr);
    ~T_frmMain() override;

    // The client area: the window less its menu bar.
    QWidget* client() const { return m_client; }
    int ClientWidth() const;
    int ClientHeight() const;

    // Handlers of the window.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormDestroy();
    void FormResize();
    // A window-menu command; the About item opens the About box.
    void HandleSysCommand(int command);
    // The end of the desktop session: answers yes at once; the settings are not saved.
    bool HandleQueryEndSession();
    // Enables the entry group and the print button from the node and device-type choices.
    void AL1Update();

    // Working databases: the list of the application folder, and the compaction of the default.
    void ListWorkDatabases(const QString& folder);
    void CompactLocalDatabase(bool showResult);
    // Whether this instance may replace the default database (no other instance has it open).
    bool ownsDefaultDatabase();
    // Runs the import dialog after a confirmation and shows the database it filled.
    void btn_ExportDataClick();
    // Shows the import dialog modally; its result, 1 for OK. Set by start-up.
    std::function<int(QWidget* owner)> importDialogRunner;

    // The node list and the node choice.
    void RefreshNodeList();
    void box_NodeSelectChange();
    // Forgets the loaded node: grid, probe texts, device delay, model, map.
    void ClearNodeView();
    // Opens the working database chosen in the list.
    void btn_WordDatabaseClick();

    // Device and probe look-up.
    void box_DevSelectChange();
    void FillDeviceList(const QString& typeCode);
    void box_CurrDeviceChange();
    void SelectCurrentDevice(const QString& code);
    int FillIVexelList();
    int FillFVexelList();
    void cb_IVexelListChange();
    void cb_FVexelListChange();
    void cb_ShowAllIVexelClick();
    void cb_ShowAllFVexelClick();
    void ClearProbeTexts();

    // The candidate grid's drawing, its fitted last column and the click on a candidate.
    void setUpCandidateGrid();
    void fitLastColumn();
    void sg_PretenderMouseUp(const QMouseEvent* event);

    // The candidate search and its grid.
    void btnGetCPDDevicesClick();
    void SearchCandidates();
    void ClearCandidateGrid();
    void ClearCandidates();

    // The map view: scale, place and the devices' screen positions.
    ClientArea clientArea() const;
    void PlaceMap();
    void RescaleDevices();
    void ZoomIn(double step);
    void ZoomOut(double step);
    void GrowMarkers();
    void ShrinkMarkers();
    void CenterOnDevice(const QString& code);
    // The overlay's view options as the popup menu and the probe boxes set them.
    OverlayOptions overlayOptions() const;
    // Keys (the window sees them before the focused control), the wheel and dragging.
    void FormKeyDown(const QKeyEvent* event);
    void FormKeyUp(const QKeyEvent* event);
    // True when the wheel event was used (only with a map loaded).
    bool FormMouseWheel(const QWheelEvent* event);
    void PB1MouseDown(const QMouseEvent* event);
    void PB1MouseMove(const QMouseEvent* event);
    void PB1MouseUp(const QMouseEvent* event);
    // The text of the hot-key list (Ctrl + F1).
    static QString hotKeyText();
    // The view options: a click repaints the map.
    void pmi_InvertMouseClick();
    // Asks for the map background colour; a cancelled dialog changes nothing.
    void ChooseMapBackground();
    // The colour dialog in use (tests answer it); empty: the desktop's colour dialog.
    std::function<std::optional<QColor>()> colourChooser;
    // After a resize: back to the current device or the picked candidate.
    void recentreAfterResize();
    // The work order: printed through the printer dialog, or saved as PDF.
    void act_PrintCurrentExecute();
    void PrintCurrentView();
    void SaveWorkOrderPdf();
    WorkOrderInput workOrderInput() const;
    // The printer dialog and the PDF file dialog in use (tests answer them); empty: the desktop's.
    std::function<bool(QPrinter&)> printerChooser;
    std::function<QString()> pdfFileChooser;
    QAction* act_SaveWorkOrderPdf = nullptr;
    // Paints the map and its overlay onto the paint box.
    void PB1Paint(QPainter& painter);

    // Settings of the user (loaded while the window is created, saved when it closes).
    void LoadSettings();
    void SaveSettings();

    // Delay and tolerance entry.
    void sb_DelayChange();
    void sb_ToleranceChange();
    void DeriveTolerance(double delay);
    // The typed text of a field cleaned and clamped to its limits (written back when changed).
    QString ValidateEntry(QLineEdit* edit, double min, double max);
    void ed_MeasuredChange();
    void ed_DeltaChange();
    void ed_MeasuredExit();
    void ed_DeltaExit();
    // Filters a key typed into a delay field; true when the key is used up here.
    bool entryKeyPress(QLineEdit* edit, const QKeyEvent* event);
    // The arrow buttons' steps, repeated every 100 ms while a button is held.
    void DelayUpTick();
    void DelayDownTick();
    void ToleranceUpTick();
    void ToleranceDownTick();
    void startRepeat(void (T_frmMain::*tick)());
    // The release of any arrow button stops the repeat.
    void btn_DelayUpMouseUp();
    QTimer* FRepeatTimer = nullptr;
    // Writes a field's text under its re-entry guard, so its change handler does not run.
    static void writeGuarded(QLineEdit* edit, const QString& text);
    static bool isGuarded(const QLineEdit* edit);

    // Lays out the right-hand panel for the current client size and visible probe groups.
    void layoutPanel();
    // Sizes the candidate grid to its group and sets its row count.
    void FitCandidateGrid();
    // The map area's background: the window colour.
    void setMapBackground(std::int32_t stored);

    // Opens the About box (set by start-up; nothing happens while it is unset).
    std::function<void(QWidget* owner)> aboutBoxOpener;

    // Fields of the window.
    metafile::Picture FMap;
    metafile::Picture FPinPicture;
    double FStep = 0.0;
    double FValueMin = 0.0;
    double FDelayMax = 0.0;
    double FToleranceMax = 0.0;
    double FMeasuredDelay = 0.0;
    double FTolerance = 0.0;
    std::int32_t FMapBGColor = 0;
    bool FMapLoaded = false;
    std::int32_t FNodeId = 0;
    std::int32_t FMapWidth = 0;
    std::int32_t FMapHeight = 0;
    double FIdSize = 0;
    double FStartZoom = 0;
    // Index of the current device; -1 until one is chosen for the loaded node.
    std::int32_t FCurrentIndex = -1;
    double FCurrentDelay = 0;
    bool FShowAllIVexel = false;
    bool FShowAllFVexel = false;
    bool FFVexelPicked = false;
    bool FCenterOnCandidate = false;
    // Scale, view centre, focused device, picture size and paint-box place.
    MapView FView;
    // The picture stands for "Map is not defined." (no map is loaded).
    bool FMapNotDefined = false;
    std::int32_t FDragging = 0;
    int FDragStartX = 0;
    int FDragStartY = 0;

    // Controls, named as in the window's design.
    PaintBox* PB1 = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel3 = nullptr;
    QComboBox* cb_WorkDB = nullptr;
    QToolButton* btn_WordDatabase = nullptr;
    QGroupBox* grp_DeviceNode = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* box_NodeSelect = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* st_VembraID = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* box_DevSelect = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* box_CurrDevice = nullptr;
    QLabel* DelayOfDevice = nullptr;
    QGroupBox* grp_Pretender = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* ed_Measured = nullptr;
    QToolButton* btn_DelayUp = nullptr;
    QToolButton* btn_DelayDown = nullptr;
    QScrollBar* sb_Delay = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* ed_Delta = nullptr;
    QToolButton* btn_ToleranceUp = nullptr;
    QToolButton* btn_ToleranceDown = nullptr;
    QScrollBar* sb_Tolerance = nullptr;
    QToolButton* btnGetCPDDevices = nullptr;
    QTableWidget* sg_Pretender = nullptr;
    QLabel* st_Total = nullptr;
    QFrame* Panel2 = nullptr;
    QGroupBox* grp_IVexel = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* cb_IVexelList = nullptr;
    QCheckBox* cb_ShowAllIVexel = nullptr;
    QLabel* st_IVexelText = nullptr;
    QGroupBox* grp_FVexel = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* cb_FVexelList = nullptr;
    QCheckBox* cb_ShowAllFVexel = nullptr;
    QLabel* st_FVexelText = nullptr;
    QFrame* Panel5 = nullptr;
    QToolButton* btn_ExportData = nullptr;
    QToolButton* btn_SetBGColor = nullptr;
    QToolButton* btn_Print = nullptr;
    QToolButton* btn_Settings = nullptr;

    // The view options.
    QMenu* PM = nullptr;
    QAction* pmi_ShowMarker = nullptr;
    QAction* pmi_ShowLine = nullptr;
    QAction* pmi_DarkLine = nullptr;
    QAction* pmi_Transparent = nullptr;
    QAction* pmi_InvertMouse = nullptr;

    // The action list.
    QObject* AL1 = nullptr;
    QAction* act_NodeSelect = nullptr;
    QAction* act_DeviceSelect = nullptr;
    QAction* act_PrintCurrent = nullptr;
    QAction* act_PackData = nullptr;
    QAction* act_ExportData = nullptr;
    QAction* act_EmptyData = nullptr;

    // The window menu, standing for the window's system menu.
    QMenu* windowMenu = nullptr;
    QAction* aboutItem = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void createControls();
    void createPanelTop();
    void createEntryGroup();
    void createProbeGroups();
    void createToolButtons();
    void createMenus();
    void appendAboutItem();
    void connectHandlers();

    RegistrySettings& settingsStore();

    void (T_frmMain::*m_repeatTick)() = nullptr;
    std::unique_ptr<QLockFile> m_defaultDatabaseLock;
    QWidget* m_client = nullptr;
    RegistrySettings* m_settings = nullptr;
    bool m_ownsSettings = false;
    bool m_shownOnce = false;
    bool m_sessionEnding = false;
};

// The tolerance was derived from the delay and has not been moved by hand since.
extern bool ToleranceAuto;

} // namespace vembra
