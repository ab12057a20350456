#pragma once

#include <QString>
#include <QStringList>

namespace vembra::test {

// What a run of the command-line companion gave: its exit code (-1 when it crashed) and output.
struct CompanionRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built companion `vembra` with the arguments and waits for it.
CompanionRun runCompanion(const QStringList& args);

} // namespace vembra::test
