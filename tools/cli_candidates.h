#pragma once

#include <QStringList>

namespace vembra {

// vembra candidates --db FILE --node NAME --device CODE --delay D [--tolerance T]: the
// navigator's candidate search from the command line. Returns the exit code.
int runCandidatesCommand(const QStringList& args);

} // namespace vembra
