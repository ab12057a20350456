// The main window's life: creation (FormCreate), first show, close query, resize, destruction.
#include "ui/main_window.h"

#include "app/dm/data_module.h"
#include "app/settings/decimal_text.h"
#include "platform/folders/app_folders.h"
#include "platform/settings/registry_settings.h"
#include "ui/main_unit.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLockFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QTableWidget>
#include <QThread>

namespace vembra {

bool ToleranceAuto = false;

T_frmMain::T_frmMain(RegistrySettings* settings, QWidget* parent)
    : QMainWindow(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("_frmMain"));
    setWindowTitle(QStringLiteral("The Vembra navigator"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    createControls();
    createMenus();
    connectHandlers();
    qApp->installEventFilter(this);
    setUpCandidateGrid();
    // Client area at its design size, the window centred on the screen.
    resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

T_frmMain::~T_frmMain()
{
    FormDestroy();
    if (m_ownsSettings)
        delete m_settings;
}

RegistrySettings& T_frmMain::settingsStore()
{
    if (!m_settings) {
        m_settings = new RegistrySettings();
        m_ownsSettings = true;
    }
    return *m_settings;
}

int T_frmMain::ClientWidth() const
{
    return m_client->width();
}

int T_frmMain::ClientHeight() const
{
    return m_client->height();
}

void T_frmMain::FormCreate()
{
    // Each step reports its own failure and the next step still runs, so one missing file does
    // not leave the settings, the entry limits or the database list unset.
    const auto step = [this](const std::function<void()>& run) { runReported(this, run); };

    QApplication::setApplicationName(QStringLiteral("Vembra Navigator"));
    // Every Qt widget paints double-buffered; nothing to switch on.
    step([this] { appendAboutItem(); });
    step([this] { CompactLocalDatabase(false); });
    step([] {
        IVexelIcon = QImage(QStringLiteral(":/bitmaps/iVexel.png"));
        FVexelIcon = QImage(QStringLiteral(":/bitmaps/fVexel.png"));
        if (IVexelIcon.isNull() || FVexelIcon.isNull())
            throw std::runtime_error("The probe icons cannot be loaded.");
    });
    ExeDir = folders::programFolder();
    if (AppDataDir.isEmpty())
        AppDataDir = ExeDir;
    QDir::setCurrent(ExeDir);
    step([this] { LoadSettings(); });
    setMapBackground(FMapBGColor);
    step([this] {
        FMap.clear();
        FPinPicture.clear();
        const QString pin = applicationFolderPath() + QStringLiteral("_data.pdb");
        if (!FPinPicture.loadFromFile(pin))
            throw std::runtime_error("The pin picture " +
                                     QDir::toNativeSeparators(pin).toStdString() +
                                     " is no metafile.");
        FPinPicture.setWidth(67);
        FPinPicture.setHeight(72);
    });
    sg_Pretender->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Device ID")));
    sg_Pretender->setItem(0, 1, new QTableWidgetItem(QStringLiteral("Delay (µs)")));
    step([this] {
        FStep = textToFloat(LocalizeDecimal(QStringLiteral("0.01")));
        FValueMin = textToFloat(LocalizeDecimal(QStringLiteral("0.0")));
        FDelayMax = textToFloat(LocalizeDecimal(QStringLiteral("50.00")));
        FToleranceMax = textToFloat(LocalizeDecimal(QStringLiteral("0.40")));
    });
    step([this] { ListWorkDatabases(applicationFolderPath()); });
}

void T_frmMain::FormShow()
{
    FitCandidateGrid();
}

bool T_frmMain::FormCloseQuery()
{
    runReported(this, [this] { SaveSettings(); });
    return true;
}

void T_frmMain::FormDestroy()
{
    FPinPicture.clear();
    FMap.clear();
    IVexelIcon = QImage();
    FVexelIcon = QImage();
}

void T_frmMain::FormResize()
{
    layoutPanel();
    recentreAfterResize();
    FitCandidateGrid();
}

bool T_frmMain::HandleQueryEndSession()
{
    m_sessionEnding = true;
    return true;
}

void T_frmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void T_frmMain::closeEvent(QCloseEvent* event)
{
    // The end of the session closes the window without the close query: nothing is saved.
    if (!m_sessionEnding && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
}

void T_frmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

} // namespace vembra
