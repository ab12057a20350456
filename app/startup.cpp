#include "app/startup.h"

#include "app/about/about_box.h"
#include "app/dm/data_module.h"
#include "app/splash_window.h"
#include "import/import_dialog.h"
#include "platform/folders/app_folders.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/program_import_host.h"

#include <QApplication>
#include <QFont>
#include <QThread>

#include <cstdlib>

namespace vembra {

StartedNavigator::StartedNavigator() = default;
StartedNavigator::~StartedNavigator()
{
    // The window goes before the data module it uses.
    mainWindow.reset();
    if (DM == dataModule.get())
        DM = nullptr;
    dataModule.reset();
}
StartedNavigator::StartedNavigator(StartedNavigator&&) noexcept = default;

QString GetSpecialFolderPath()
{
    return folders::genericDataFolder();
}

bool LocateApplicationFolder()
{
    AppDataDir = GetSpecialFolderPath();
    return true;
}

void installFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

QString missingDisplayMessage()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    return QStringLiteral("vembra-navigator: no display (DISPLAY is not set); to run it without "
                          "a screen, use Xvfb: xvfb-run -a -s \"-screen 0 1280x800x24\" "
                          "./scripts/run.sh");
#else
    return {};
#endif
}

StartedNavigator startNavigator(int pauseMs)
{
    const auto pause = [pauseMs] {
        if (pauseMs > 0)
            QThread::msleep(static_cast<unsigned long>(pauseMs));
    };
    StartedNavigator started;
    if (!LocateApplicationFolder())
        std::exit(0);

    auto splash = std::make_unique<Tfrm_Splash>();
    splash->show();
    splash->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    try {
        pause();
        installFontSubstitutes();
        pause();
        started.dataModule = std::make_unique<TDM>();
        DM = started.dataModule.get();
        DM->DataModuleCreate(AppDataDir);
        pause();
        started.mainWindow = std::make_unique<T_frmMain>();
        started.mainWindow->aboutBoxOpener = openAboutBox;
        started.mainWindow->importDialogRunner = [](QWidget* owner) {
            return runImportDialog(owner, programImportHost(owner));
        };
        pause();
    } catch (const std::exception& e) {
        showError(nullptr, errorText(e));
    }
    pause();
    splash->hide();
    splash.reset();
    if (started.mainWindow)
        started.mainWindow->show();
    return started;
}

} // namespace vembra
