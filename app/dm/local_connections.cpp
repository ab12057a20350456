#include "app/dm/local_connections.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace vembra {

namespace {

QString canonicalKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

} // namespace

std::shared_ptr<sqlite::Database> openWorkingDatabase(const QString& path)
{
    const std::string file = QDir::toNativeSeparators(path).toStdString();
    if (!QFileInfo(path).isFile())
        throw sqlite::Error(SQLITE_CANTOPEN, "Could not find file '" + file + "'.", "");
    auto db = std::make_shared<sqlite::Database>(file, sqlite::Database::Mode::ReadWrite);
    // Reading the header fails with SQLite's "file is not a database" for random bytes.
    if (db->pragmaInteger("application_id") != kWorkingDatabaseApplicationId ||
        !db->tableExists("tbl_node") || !db->tableExists("tbl_deviceinfo")) {
        throw sqlite::Error(SQLITE_NOTADB,
                            "The file is not a working database of the Vembra navigator.",
                            "File: " + file);
    }
    return db;
}

std::shared_ptr<sqlite::Database> LocalConnections::acquire(const QString& path)
{
    const QString key = canonicalKey(path);
    if (auto it = m_open.find(key); it != m_open.end()) {
        if (auto db = it->second.lock())
            return db;
    }
    auto db = openWorkingDatabase(path);
    m_open[key] = db;
    return db;
}

bool LocalConnections::isOpen(const QString& path) const
{
    const auto it = m_open.find(canonicalKey(path));
    return it != m_open.end() && !it->second.expired();
}

} // namespace vembra
