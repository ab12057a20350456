#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>

namespace vembra {

// One entry of the version data's translation list: the language and code page of a string table.
struct Translation {
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
};

// The program's version data as a version resource holds it: the fixed product version, the
// translation list, and the string values keyed by their full path
// ("\StringFileInfo\040904E4\ProductName").
struct VersionResource {
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    QList<Translation> translations;
    QHash<QString, QString> strings;
};

// The names of the string values the About box shows.
inline constexpr const char* kProductNameValue = "ProductName";
inline constexpr const char* kCompanyNameValue = "CompanyName";
inline constexpr const char* kLegalCopyrightValue = "LegalCopyright";
inline constexpr const char* kCommentsValue = "Comments";

// The path of a string value in the table of a translation: "\StringFileInfo\" + eight upper-case
// hexadecimal digits (language, then code page) + "\" + name.
QString stringValuePath(Translation translation, const QString& name);

// One string value of the version data, looked up in the table of the first translation; empty
// when there is no translation or no such value.
QString GetVersionString(const VersionResource& resource, const QString& Name);

// "Build: " followed by the four 16-bit parts of the product version, most significant first.
QString buildText(const VersionResource& resource);

// The version data this build was configured with (product name, company, copyright, comments
// and the project's four-part version, in the table 0409/04E4).
VersionResource builtInVersionResource();

// The version data of the program file: on Windows its version resource (the built-in data when
// the file has none), elsewhere the built-in data.
VersionResource readVersionResource(const QString& programFile);

} // namespace vembra
