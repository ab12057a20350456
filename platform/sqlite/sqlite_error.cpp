#include "platform/sqlite/sqlite_error.h"

#include <sqlite3.h>

namespace vembra::sqlite {

namespace {

std::string composeWhat(const std::string& message, const std::string& context)
{
    if (context.empty())
        return message;
    return message + "\n" + context;
}

} // namespace

Error::Error(int code, const std::string& message, const std::string& context)
    : std::runtime_error(composeWhat(message, context)), m_code(code), m_message(message),
      m_context(context)
{
}

void check(int rc, sqlite3* db, const std::string& context)
{
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE)
        return;
    // sqlite3_errmsg describes the most recent failure of this connection; without a connection
    // (open failed before one existed) the generic text of the code is all there is.
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw Error(rc, message, context);
}

} // namespace vembra::sqlite
