#pragma once

#include "platform/sqlite/sqlite_database.h"

#include <QString>

#include <map>
#include <memory>

namespace vembra {

// The application_id that marks an SQLite file as a working database of the navigator.
inline constexpr long long kWorkingDatabaseApplicationId = 0x564E4156; // "VNAV"

// Opens a working database and checks that it is one: an SQLite file marked with our
// application_id and holding tbl_node and tbl_deviceinfo. Throws sqlite::Error with a clear
// text otherwise; opening never writes to the file.
std::shared_ptr<sqlite::Database> openWorkingDatabase(const QString& path);

// The open local database files, shared by every component that points at the same file. A file
// stays open while some component holds it and is closed when the last one lets go.
class LocalConnections {
public:
    std::shared_ptr<sqlite::Database> acquire(const QString& path);
    bool isOpen(const QString& path) const;

private:
    std::map<QString, std::weak_ptr<sqlite::Database>> m_open;
};

} // namespace vembra
