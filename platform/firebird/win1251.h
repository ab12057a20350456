#pragma once

#include <string>
#include <string_view>

namespace vembra::firebird {

// The system database speaks WIN1251; the program speaks UTF-8. Bytes without a character in
// WIN1251 (0x98) become U+FFFD.
std::string win1251ToUtf8(std::string_view bytes);

// Characters without a WIN1251 byte become '?'. Invalid UTF-8 sequences become '?' too.
std::string utf8ToWin1251(std::string_view text);

} // namespace vembra::firebird
