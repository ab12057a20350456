#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vembra::firebird {

// A statement text whose named parameters (":nname") have been replaced by the positional
// markers the engine takes, with the name of each position in order.
struct PositionalSql {
    std::string text;
    std::vector<std::string> names; // lower case, without the colon; a name may repeat
};

// Rewrites ":name" outside quoted strings, quoted names and comments into "?".
PositionalSql toPositional(std::string_view sql);

// The name as our tables of parameters hold it: lower case, without a leading colon.
std::string parameterKey(std::string_view name);

} // namespace vembra::firebird
