#pragma once

#include <array>
#include <string>

namespace vembra {

// The local database password: nine characters written one by one into a buffer of 16; the
// password is the buffer's text up to its first zero.
using LocalPasswordBuffer = std::array<char, 16>;
void buildLocalPassword(LocalPasswordBuffer& buffer);

// The system password of SYSDBA: eight characters in a buffer of eight.
using SystemPasswordBuffer = std::array<char, 8>;
void buildSystemPassword(SystemPasswordBuffer& buffer);

std::string passwordText(const LocalPasswordBuffer& buffer);
std::string passwordText(const SystemPasswordBuffer& buffer);

} // namespace vembra
