#pragma once

#include <stdexcept>
#include <string>

struct sqlite3;

namespace vembra::sqlite {

// Every failure of the SQLite layer: SQLite's own message plus what we were doing (the statement,
// the file, the parameter or column name).
class Error : public std::runtime_error {
public:
    Error(int code, const std::string& message, const std::string& context);

    int code() const noexcept { return m_code; }
    const std::string& sqliteMessage() const noexcept { return m_message; }
    const std::string& context() const noexcept { return m_context; }

private:
    int m_code;
    std::string m_message;
    std::string m_context;
};

// Throws Error for any result other than SQLITE_OK, SQLITE_ROW and SQLITE_DONE.
void check(int rc, sqlite3* db, const std::string& context);

} // namespace vembra::sqlite
