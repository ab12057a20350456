#pragma once

#include <QString>

namespace vembra {

// Rewrites the working database at source compactly without ever losing it: a compacted copy is
// written to temp (a left-over temp is deleted first), checked, flushed to disk and then renamed
// over source in one atomic step. A failure or a crash at any moment leaves source whole, old or
// compacted. Throws with the reason on failure; source is then unchanged.
void compactWorkingDatabase(const QString& source, const QString& temp);

} // namespace vembra
