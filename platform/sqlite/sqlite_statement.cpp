#include "platform/sqlite/sqlite_statement.h"

#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_error.h"

#include <sqlite3.h>

#include <limits>

namespace vembra::sqlite {

namespace {

bool equalNoCase(std::string_view a, const char* b)
{
    if (!b)
        return false;
    return sqlite3_stricmp(std::string(a).c_str(), b) == 0;
}

int narrow(long long value)
{
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return static_cast<int>(static_cast<unsigned long long>(value) & 0xFFFFFFFFu);
    return static_cast<int>(value);
}

} // namespace

void Statement::Finalizer::operator()(sqlite3_stmt* st) const noexcept
{
    sqlite3_finalize(st);
}

Statement::Statement(const Database& db, const std::string& sql) : m_db(db.handle()), m_sql(sql)
{
    sqlite3_stmt* raw = nullptr;
    const int rc =
        sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size() + 1), &raw, nullptr);
    m_stmt.reset(raw);
    check(rc, m_db, "Statement: " + sql);
    if (!raw)
        throw Error(SQLITE_MISUSE, "empty statement", "Statement: " + sql);
}

int Statement::parameterIndex(std::string_view name) const
{
    const int index = sqlite3_bind_parameter_index(m_stmt.get(), std::string(name).c_str());
    if (index == 0)
        throw Error(SQLITE_RANGE, "no parameter named " + std::string(name), "Statement: " + m_sql);
    return index;
}

bool Statement::hasParameter(std::string_view name) const
{
    return sqlite3_bind_parameter_index(m_stmt.get(), std::string(name).c_str()) != 0;
}

void Statement::checkBind(int rc, std::string_view name) const
{
    check(rc, m_db, "Parameter: " + std::string(name) + "\nStatement: " + m_sql);
}

void Statement::bind(std::string_view name, int value)
{
    checkBind(sqlite3_bind_int(m_stmt.get(), parameterIndex(name), value), name);
}

void Statement::bind(std::string_view name, long long value)
{
    checkBind(sqlite3_bind_int64(m_stmt.get(), parameterIndex(name), value), name);
}

void Statement::bind(std::string_view name, double value)
{
    checkBind(sqlite3_bind_double(m_stmt.get(), parameterIndex(name), value), name);
}

void Statement::bind(std::string_view name, std::string_view text)
{
    checkBind(sqlite3_bind_text64(m_stmt.get(), parameterIndex(name), text.data(), text.size(),
                                  SQLITE_TRANSIENT, SQLITE_UTF8),
              name);
}

void Statement::bindBlob(std::string_view name, std::span<const std::uint8_t> bytes)
{
    const int index = parameterIndex(name);
    // A zero-length blob must still be a blob, not NULL: SQLite takes a null pointer for NULL.
    static const std::uint8_t empty = 0;
    const void* data = bytes.empty() ? &empty : bytes.data();
    checkBind(sqlite3_bind_blob64(m_stmt.get(), index, data, bytes.size(), SQLITE_TRANSIENT), name);
}

void Statement::bindNull(std::string_view name)
{
    checkBind(sqlite3_bind_null(m_stmt.get(), parameterIndex(name)), name);
}

void Statement::clearBindings()
{
    sqlite3_clear_bindings(m_stmt.get());
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own result code names the failure; reset so it can run again.
    const std::string message = sqlite3_errmsg(m_db);
    sqlite3_reset(m_stmt.get());
    throw Error(rc, message, "Statement: " + m_sql);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt.get());
}

void Statement::execute()
{
    reset();
    while (step()) {
    }
    reset();
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt.get());
}

std::vector<std::string> Statement::columnNames() const
{
    std::vector<std::string> names;
    const int count = columnCount();
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(m_stmt.get(), i);
        names.emplace_back(name ? name : "");
    }
    return names;
}

bool Statement::hasColumn(std::string_view name) const
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (equalNoCase(name, sqlite3_column_name(m_stmt.get(), i)))
            return true;
    }
    return false;
}

int Statement::columnIndex(std::string_view name) const
{
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (equalNoCase(name, sqlite3_column_name(m_stmt.get(), i)))
            return i;
    }
    throw Error(SQLITE_RANGE, "no column named " + std::string(name), "Statement: " + m_sql);
}

void Statement::checkColumn(int column) const
{
    if (column < 0 || column >= columnCount())
        throw Error(SQLITE_RANGE, "column " + std::to_string(column) + " out of range",
                    "Statement: " + m_sql);
}

bool Statement::isNull(int column) const
{
    checkColumn(column);
    return sqlite3_column_type(m_stmt.get(), column) == SQLITE_NULL;
}

int Statement::intAt(int column) const
{
    return narrow(int64At(column));
}

long long Statement::int64At(int column) const
{
    checkColumn(column);
    return sqlite3_column_int64(m_stmt.get(), column);
}

double Statement::doubleAt(int column) const
{
    checkColumn(column);
    return sqlite3_column_double(m_stmt.get(), column);
}

std::string Statement::textAt(int column) const
{
    checkColumn(column);
    const auto* text = sqlite3_column_text(m_stmt.get(), column);
    if (!text)
        return {};
    const int size = sqlite3_column_bytes(m_stmt.get(), column);
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
}

std::span<const std::uint8_t> Statement::blobAt(int column) const
{
    checkColumn(column);
    const void* data = sqlite3_column_blob(m_stmt.get(), column);
    if (!data)
        return {};
    const int size = sqlite3_column_bytes(m_stmt.get(), column);
    return {static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)};
}

} // namespace vembra::sqlite
