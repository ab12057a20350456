#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vembra {

class TDM;

// What the import dialog needs of the program around it: the data module, the folders, the
// main window's state it sets, the message boxes and the file dialog. The program fills it from
// its own state; tests fill it with their own.
struct ImportHost {
    TDM* dm = nullptr;
    QString appFolder; // the folder of the working databases, trailing separator
    QString exeDir;    // the program's folder (the template srcres.dat), trailing separator
    QString* workDBName = nullptr;
    bool* hasIVexel = nullptr;
    bool* hasFVexel = nullptr;
    std::function<void(bool)> showIVexelGroup;
    std::function<void(QWidget*, const QString&)> error;
    std::function<bool(QWidget*, const QString&)> confirm; // Yes: true
    std::function<void(QWidget*, const QString&)> information;
    // Shows the file-open dialog with the filter (Qt's form); empty when cancelled.
    std::function<QString(QWidget*, const QString& filter)> openFile;
};

} // namespace vembra
