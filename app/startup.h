#pragma once

#include <QString>

#include <memory>

namespace vembra {

class T_frmMain;
class TDM;

// Sets AppDataDir to the machine's data folder for applications; true when start-up may go on.
bool LocateApplicationFolder();
// The data folder for applications, with a trailing separator; empty when there is none.
QString GetSpecialFolderPath();

// Metric-compatible faces for the font names the program and its maps use.
void installFontSubstitutes();

// Without a display the program cannot show a window: the one-line explanation, or empty when a
// display (or another Qt platform) is available.
QString missingDisplayMessage();

// What start-up leaves running: the data module and the main window, shown.
struct StartedNavigator {
    std::unique_ptr<TDM> dataModule;
    std::unique_ptr<T_frmMain> mainWindow;
    StartedNavigator();
    ~StartedNavigator();
    StartedNavigator(StartedNavigator&&) noexcept;
};

// Runs start-up from the splash window to the shown main window, with the given pause between
// the steps (200 ms in the program). The caller runs the event loop.
StartedNavigator startNavigator(int pauseMs);

} // namespace vembra
