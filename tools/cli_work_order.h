#pragma once

#include <QStringList>

namespace vembra {

// vembra work-order --db FILE --node NAME --device CODE --delay D [--tolerance T] -o OUT.pdf:
// the work order of the view the navigator shows right after choosing that node and device in a
// window of the design size, with the search run. Returns the exit code.
int runWorkOrderCommand(const QStringList& args);

} // namespace vembra
