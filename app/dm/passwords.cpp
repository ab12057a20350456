#include "app/dm/passwords.h"

#include "app/dm/build_secrets.h"

#include <algorithm>

namespace vembra {

void buildLocalPassword(LocalPasswordBuffer& buffer)
{
    buffer.fill('\0');
    for (std::size_t i = 0; i < std::size(build::kLocalPasswordChars); ++i)
        buffer[i] = build::kLocalPasswordChars[i];
}

void buildSystemPassword(SystemPasswordBuffer& buffer)
{
    buffer.fill('\0');
    for (std::size_t i = 0; i < std::size(build::kSystemPasswordChars); ++i)
        buffer[i] = build::kSystemPasswordChars[i];
}

std::string passwordText(const LocalPasswordBuffer& buffer)
{
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string(buffer.begin(), end);
}

std::string passwordText(const SystemPasswordBuffer& buffer)
{
    // Eight characters fill the buffer: there is no terminating zero to look for.
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string(buffer.begin(), end);
}

} // namespace vembra
