#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vembra::firebird {

class Attachment;
class Transaction;

// Bytes of a blob or of a binary text.
struct Bytes {
    std::vector<std::uint8_t> data;
};

// A parameter value: NULL, an integer, a float, a UTF-8 text (sent in WIN1251) or bytes.
using Value = std::variant<std::monostate, std::int64_t, double, std::string, Bytes>;

// A statement of an attachment with named parameters (":nname"), run in a transaction. A select
// is opened by execute() and stands on its first row; columns are read by name
// (case-insensitively) or by position. NULL reads as 0, as the empty text or as no bytes.
class Statement {
public:
    Statement(Attachment& attachment, Transaction& transaction);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // A new text: closes the statement and forgets the parameters; a different text is
    // prepared again.
    void setSql(std::string sql);
    const std::string& sql() const noexcept { return m_sql; }
    void prepare();
    bool isPrepared() const noexcept;
    // Binds on the next execute; "nid" and ":nid" name the same parameter. A name that the
    // text does not have throws, naming it.
    void setParam(std::string_view name, Value value);
    bool hasParameter(std::string_view name);

    // Runs the statement with its parameters; a select stands on its first row afterwards.
    void execute();
    // Closes the rows of a select; the statement stays prepared.
    void close();
    // Lets go of the prepared statement (before its attachment goes away).
    void unprepare() noexcept;
    bool isOpen() const noexcept;
    bool eof() const noexcept { return !m_hasRow; }
    void next();

    int columnCount() const;
    std::string columnName(int column) const;
    // Position of the column of that name or alias, case-insensitively; throws naming it.
    int columnIndex(std::string_view name) const;
    bool hasColumn(std::string_view name) const;

    bool isNull(int column) const;
    std::int32_t asInt32(int column) const;
    // The low 16 bits of the integer value, read as signed.
    std::int16_t asInt16(int column) const;
    std::int64_t asInt64(int column) const;
    double asDouble(int column) const;
    // Texts come as UTF-8, CHAR columns without their trailing blanks.
    std::string asText(int column) const;
    // The bytes of a blob (read in segments below 64 KB) or of a text.
    std::vector<std::uint8_t> asBlob(int column) const;

    bool isNull(std::string_view column) const { return isNull(columnIndex(column)); }
    std::int32_t asInt32(std::string_view c) const { return asInt32(columnIndex(c)); }
    std::int16_t asInt16(std::string_view c) const { return asInt16(columnIndex(c)); }
    double asDouble(std::string_view c) const { return asDouble(columnIndex(c)); }
    std::string asText(std::string_view c) const { return asText(columnIndex(c)); }
    std::vector<std::uint8_t> asBlob(std::string_view c) const { return asBlob(columnIndex(c)); }

private:
    struct Impl;
    void checkRow(int column) const;
    std::string context() const;

    Attachment& m_attachment;
    Transaction& m_transaction;
    std::string m_sql;
    std::map<std::string, Value> m_params;
    bool m_hasRow = false;
    std::unique_ptr<Impl> m_impl;
};

} // namespace vembra::firebird
