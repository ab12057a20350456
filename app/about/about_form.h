#pragma once

#include "app/about/key_sequence.h"
#include "app/about/version_data.h"

#include <QDialog>

#include <functional>
#include <memory>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vembra {

// Where the About box finds what it shows and what it does on the hidden key sequence; the
// program uses defaultAboutSources(), tests give their own.
struct AboutSources {
    // The folder of the licence text and the logo bitmap.
    QString programFolder;
    std::function<VersionResource()> versionResource;
    std::function<void()> showCredits;
    KeyClock clock = std::chrono::steady_clock::now;
};

// The program's own sources: its folder, its version data, and the credits list shown modally.
AboutSources defaultAboutSources();

// The About box: product, version, maker, copyright and comments, the logo and the licence text,
// and the hidden key sequence that opens the credits list.
class Tfrm_About : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 457;
    static constexpr int kClientHeight = 398;

    // Builds the box and runs FormCreate.
    explicit Tfrm_About(QWidget* owner, AboutSources sources = defaultAboutSources());
    ~Tfrm_About() override;

    // Reads the licence text; keeps the License page only when the text has lines.
    void FormCreate();
    // Fills the version labels and the logo and shows the first page; throws when the logo
    // bitmap is there but unreadable.
    void FormShow();
    // One key press seen by the box (before its controls handle it).
    void FormKeyDown(std::uint16_t Key, TShiftState Shift);

    // How far the hidden key sequence has been typed.
    const KeySequenceMatcher& keySequence() const { return *m_keys; }
    // The error that ended the last showing early (empty when there was none).
    QString showError() const { return m_showError; }

    // Controls, named as in the box's design.
    QTabWidget* PCnt = nullptr;
    QWidget* TSAbout = nullptr;
    QWidget* TSLicense = nullptr;
    QFrame* logoPanel = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Product = nullptr;
    QLabel* Version = nullptr;
    QLabel* Company = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QFrame* bottomPanel = nullptr;
    QPushButton* btnOK = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createAboutPage();
    void createLicensePage();
    void setLogo(const QPixmap& picture);
    void previewKey(const QKeyEvent* event);

    AboutSources m_sources;
    std::unique_ptr<KeySequenceMatcher> m_keys;
    QString m_showError;
};

} // namespace vembra
