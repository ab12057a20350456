#pragma once

#include "platform/sqlite/sqlite_error.h"

#include <memory>
#include <string>

struct sqlite3;

namespace vembra::sqlite {

class Statement;

// One open SQLite connection. Foreign keys are switched on for every connection, so the schema's
// cascades always take effect.
class Database {
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    explicit Database(const std::string& path, Mode mode = Mode::ReadWrite);

    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const std::string& path() const noexcept { return m_path; }
    sqlite3* handle() const noexcept { return m_db.get(); }

    // Runs one or more statements that return no rows.
    void exec(const std::string& sql);
    Statement prepare(const std::string& sql) const;

    // The value of an integer pragma such as application_id or user_version.
    long long pragmaInteger(const std::string& name) const;
    bool tableExists(const std::string& table) const;
    long long lastInsertRowId() const;
    int changes() const;

private:
    struct Closer {
        void operator()(sqlite3* db) const noexcept;
    };
    std::string m_path;
    std::unique_ptr<sqlite3, Closer> m_db;
};

// Rolls back on scope exit unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    bool m_done = false;
};

} // namespace vembra::sqlite
