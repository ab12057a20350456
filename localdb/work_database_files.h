#pragma once

#include <QString>
#include <QStringList>

namespace vembra {

// The bare names of the working databases in the folder: every entry whose extension is ".mdb"
// exactly (same case), in the order the folder listing returns them. Subfolders are not entered.
QStringList workDatabaseFiles(const QString& folder);

} // namespace vembra
