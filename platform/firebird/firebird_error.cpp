#include "platform/firebird/firebird_error.h"

#include "platform/firebird/firebird_client.h"
#include "platform/firebird/win1251.h"

#include <firebird/Interface.h>

namespace vembra::firebird {

namespace {

std::string composeWhat(const std::string& message, const std::string& context)
{
    if (context.empty())
        return message;
    return message + "\n" + context;
}

} // namespace

Error::Error(long gdsCode, const std::string& message, const std::string& context)
    : std::runtime_error(composeWhat(message, context)), m_gdsCode(gdsCode), m_message(message),
      m_context(context)
{
}

void check(Firebird::IStatus* status, const std::string& context)
{
    if (!(status->getState() & Firebird::IStatus::STATE_ERRORS))
        return;
    char buffer[2048] = {};
    client().util->formatStatus(buffer, sizeof buffer - 1, status);
    const intptr_t* vector = status->getErrors();
    const long code = (vector && vector[0] == 1) ? long(vector[1]) : 0;
    // The server's texts come in the connection's character set.
    throw Error(code, win1251ToUtf8(buffer), context);
}

} // namespace vembra::firebird
