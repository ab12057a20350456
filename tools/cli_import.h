#pragma once

#include <QStringList>

namespace vembra {

// vembra import --source SOURCE (--node NAME ... | --all) [--dest NAME] [--clear]: refreshes a
// working database from the system database by script, with progress on stderr.
int runImportCommand(const QStringList& args);

// vembra sample-system --out FILE.norv [--demo | --nodes N --devices D] [--seed S]
// [--no-optional]: writes a system database file and its companion settings database.
int runSampleSystemCommand(const QStringList& args);

} // namespace vembra
