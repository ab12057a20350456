#include "tests/support/companion_run.h"

#include <QProcess>

namespace vembra::test {

CompanionRun runCompanion(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(VEMBRA_BIN_DIR "/vembra"), args);
    tool.waitForFinished(120000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

} // namespace vembra::test
