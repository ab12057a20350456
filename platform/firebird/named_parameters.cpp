#include "platform/firebird/named_parameters.h"

#include <cctype>

namespace vembra::firebird {

namespace {

bool isNameStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isNamePart(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$';
}

} // namespace

std::string parameterKey(std::string_view name)
{
    if (!name.empty() && name.front() == ':')
        name.remove_prefix(1);
    std::string key;
    key.reserve(name.size());
    for (const char c : name)
        key.push_back(char(std::tolower(static_cast<unsigned char>(c))));
    return key;
}

PositionalSql toPositional(std::string_view sql)
{
    PositionalSql out;
    out.text.reserve(sql.size());
    std::size_t i = 0;
    const auto copyUntil = [&](std::string_view end) {
        const std::size_t stop = sql.find(end, i);
        const std::size_t last = stop == std::string_view::npos ? sql.size() : stop + end.size();
        out.text.append(sql.substr(i, last - i));
        i = last;
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            // A doubled quote inside a quoted text closes and reopens it: same result.
            out.text.push_back(c);
            ++i;
            copyUntil(std::string_view(&c, 1));
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            copyUntil("\n");
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            copyUntil("*/");
        } else if (c == ':' && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
            std::size_t end = i + 1;
            while (end < sql.size() && isNamePart(sql[end]))
                ++end;
            out.names.push_back(parameterKey(sql.substr(i + 1, end - i - 1)));
            out.text.push_back('?');
            i = end;
        } else {
            out.text.push_back(c);
            ++i;
        }
    }
    return out;
}

} // namespace vembra::firebird
