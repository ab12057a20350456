#include "app/dm/data_module.h"
#include "app/splash_window.h"
#include "app/startup.h"
#include "tests/support/app_folder.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

TEST(Startup, ReachesTheShownMainWindowWithItsPanel)
{
    test::prepareApplicationFolder();
    const MessageBoxes saved = messageBoxes();
    QStringList errors;
    messageBoxes().error = [&](QWidget*, const QString& text) { errors << text; };
    {
        StartedNavigator started = startNavigator(0);
        ASSERT_NE(started.mainWindow, nullptr);
        T_frmMain& w = *started.mainWindow;
        QApplication::processEvents();
        EXPECT_TRUE(errors.isEmpty()) << errors.join(QStringLiteral("\n")).toStdString();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Label1->text(), QStringLiteral("1. Select NODE"));
        EXPECT_EQ(w.box_NodeSelect->count(), 0);
        EXPECT_EQ(w.cb_WorkDB->currentIndex(), -1);
        EXPECT_EQ(DM, started.dataModule.get());
        EXPECT_EQ(AppDataDir + QStringLiteral("Norv/VembraNavigator/"), test::applicationFolder());
        EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Vembra Navigator"));
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<Tfrm_Splash*>(top), nullptr) << "the splash window is left";
    }
    EXPECT_EQ(DM, nullptr);
    messageBoxes() = saved;
}

TEST(Startup, SplashShowsTheArtworkInItsBorder)
{
    Tfrm_Splash splash;
    ASSERT_FALSE(splash.picture->pixmap().isNull());
    EXPECT_EQ(splash.picture->pixmap().size(), QSize(472, 215));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.size(), QSize(472 + 8, 215 + 8));
}

TEST(Startup, WithoutADisplayTheProgramSaysSoInOneLine)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    const QString message = missingDisplayMessage();
    qputenv("DISPLAY", ":99");
    const QString withDisplay = missingDisplayMessage();
    qputenv("QT_QPA_PLATFORM", platform);
    qputenv("DISPLAY", display);
    qputenv("WAYLAND_DISPLAY", wayland);
    EXPECT_TRUE(message.contains(QStringLiteral("xvfb-run"))) << message.toStdString();
    EXPECT_FALSE(message.contains(QLatin1Char('\n')));
    EXPECT_TRUE(withDisplay.isEmpty());
}

} // namespace
