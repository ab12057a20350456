#include "platform/sqlite/sqlite_database.h"

#include "platform/sqlite/sqlite_statement.h"

#include <sqlite3.h>

namespace vembra::sqlite {

void Database::Closer::operator()(sqlite3* db) const noexcept
{
    // close_v2 defers the close until the last statement is finalized, so statements that
    // outlive their database by a moment never touch freed memory.
    sqlite3_close_v2(db);
}

Database::Database(const std::string& path, Mode mode) : m_path(path)
{
    int flags = SQLITE_OPEN_FULLMUTEX;
    switch (mode) {
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::ReadWriteCreate:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    m_db.reset(raw);
    check(rc, raw, "File: " + path);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 5000);
    exec("PRAGMA foreign_keys = ON");
}

void Database::exec(const std::string& sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw Error(rc, text, "Statement: " + sql);
    }
}

Statement Database::prepare(const std::string& sql) const
{
    return Statement(*this, sql);
}

long long Database::pragmaInteger(const std::string& name) const
{
    Statement st = prepare("PRAGMA " + name);
    return st.step() ? st.int64At(0) : 0;
}

bool Database::tableExists(const std::string& table) const
{
    Statement st = prepare("select 1 from sqlite_master where type = 'table' and name = :name "
                           "collate nocase");
    st.bind(":name", table);
    return st.step();
}

long long Database::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db.get());
}

int Database::changes() const
{
    return sqlite3_changes(m_db.get());
}

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.exec("BEGIN");
}

Transaction::~Transaction()
{
    if (!m_done)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}

} // namespace vembra::sqlite
