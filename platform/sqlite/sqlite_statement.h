#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vembra::sqlite {

class Database;

// A prepared statement. Parameters are bound by the names the statement text writes (":nid");
// columns are read by name, case-insensitively, or by position. NULL reads as 0, as the empty
// text or as no bytes.
class Statement {
public:
    Statement(const Database& db, const std::string& sql);

    Statement(Statement&&) noexcept = default;
    Statement& operator=(Statement&&) noexcept = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const std::string& sql() const noexcept { return m_sql; }

    void bind(std::string_view name, int value);
    void bind(std::string_view name, long long value);
    void bind(std::string_view name, double value);
    void bind(std::string_view name, std::string_view text);
    void bind(std::string_view name, const char* text) { bind(name, std::string_view(text)); }
    void bindBlob(std::string_view name, std::span<const std::uint8_t> bytes);
    void bindNull(std::string_view name);
    void clearBindings();
    bool hasParameter(std::string_view name) const;

    // Advances to the next row; false when there is none. Executes a statement without rows.
    bool step();
    // Back to before the first row; the bindings stay.
    void reset();
    void execute();

    int columnCount() const;
    std::vector<std::string> columnNames() const;
    // Position of the column of that name (case-insensitive); throws when the result has none.
    int columnIndex(std::string_view name) const;
    bool hasColumn(std::string_view name) const;

    bool isNull(int column) const;
    int intAt(int column) const;
    long long int64At(int column) const;
    double doubleAt(int column) const;
    std::string textAt(int column) const;
    // Valid until the next step, reset or destruction.
    std::span<const std::uint8_t> blobAt(int column) const;

    int getInt(std::string_view column) const { return intAt(columnIndex(column)); }
    long long getInt64(std::string_view column) const { return int64At(columnIndex(column)); }
    double getDouble(std::string_view column) const { return doubleAt(columnIndex(column)); }
    std::string getText(std::string_view column) const { return textAt(columnIndex(column)); }
    std::span<const std::uint8_t> getBlob(std::string_view column) const
    {
        return blobAt(columnIndex(column));
    }

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* st) const noexcept;
    };
    int parameterIndex(std::string_view name) const;
    void checkColumn(int column) const;
    void checkBind(int rc, std::string_view name) const;

    sqlite3* m_db = nullptr;
    std::string m_sql;
    std::unique_ptr<sqlite3_stmt, Finalizer> m_stmt;
};

} // namespace vembra::sqlite
