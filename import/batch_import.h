#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace vembra {

class TDM;

// A command line that cannot be run as given; the text says what is wrong.
class ImportUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a scripted import does: the source, the nodes (or all of them), the destination name
// (none: derived from the source's file name as the dialog does) and whether to clear it.
struct BatchImportOptions {
    QString source;
    QStringList nodes;
    bool all = false;
    QString dest;
    bool destGiven = false;
    bool clear = false;
};

// Reads --source SOURCE (--node NAME ... | --all) [--dest NAME] [--clear].
BatchImportOptions parseImportArguments(const QStringList& args);

// What a scripted import did.
struct BatchImportResult {
    QString destination; // the working database written
    int written = 0;
    QStringList missing; // names the source does not have
};

// Runs an import without a dialog: opens the source, prepares the destination in appFolder
// (an existing one is reused), clears it when asked, and transfers the nodes one transaction
// each. progress gets one line per node and a dot line per 10 000 devices.
BatchImportResult runBatchImport(TDM& dm, const BatchImportOptions& options,
                                 const QString& appFolder, const QString& exeDir,
                                 const std::function<void(const QString&)>& progress);

} // namespace vembra
