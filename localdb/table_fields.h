#pragma once

#include <QString>

namespace vembra {

class LocalTable;

// Whether the open table has a column of exactly that name (case-sensitive), in the order the
// database lists its columns.
bool TableHasField(const LocalTable& table, const QString& fieldName);

// The name of the f-Vexel column, spelled exactly so.
inline constexpr const char* kFVexelColumn = "FVexelID";

} // namespace vembra
