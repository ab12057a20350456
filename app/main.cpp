// The Vembra navigator: start-up, then the event loop until the main window closes.
#include "app/startup.h"
#include "ui/main_window.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    const QString noDisplay = vembra::missingDisplayMessage();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", noDisplay.toLocal8Bit().constData());
        return 1;
    }
    QApplication app(argc, argv);
    vembra::StartedNavigator navigator = vembra::startNavigator(200);
    if (!navigator.mainWindow)
        return 1;
    return app.exec();
}
