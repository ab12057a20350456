#pragma once

#include <QString>

namespace vembra {

// Writes a new, empty working database at path from the schema text (the build makes the
// template "srcres.dat" this way). Fails when the file exists.
void createWorkingDatabase(const QString& path, const QString& schemaSql);

// Copies the template to target when target is missing; never overwrites. True when it copied.
bool installDefaultDatabase(const QString& templatePath, const QString& target);

} // namespace vembra
