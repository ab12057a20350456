// The version data the About box shows: the string look-up and the build number.
#include "app/about/version_data.h"

#include <gtest/gtest.h>

namespace vembra {
namespace {

VersionResource resourceWith(QList<Translation> translations,
                             std::initializer_list<std::pair<const char*, const char*>> values)
{
    VersionResource resource;
    resource.translations = std::move(translations);
    for (const auto& [path, text] : values)
        resource.strings.insert(QString::fromLatin1(path), QString::fromLatin1(text));
    return resource;
}

TEST(StringValuePath, EightUpperCaseHexDigitsLanguageFirst)
{
    EXPECT_EQ(stringValuePath({0x0409, 0x04E4}, QStringLiteral("ProductName")),
              QStringLiteral("\\StringFileInfo\\040904E4\\ProductName"));
    EXPECT_EQ(stringValuePath({0x0c0a, 0x04b0}, QStringLiteral("Comments")),
              QStringLiteral("\\StringFileInfo\\0C0A04B0\\Comments"));
    EXPECT_EQ(stringValuePath({0, 0}, QStringLiteral("X")),
              QStringLiteral("\\StringFileInfo\\00000000\\X"));
}

struct LookupCase {
    const char* what;
    VersionResource resource;
    const char* name;
    const char* expected;
};

TEST(GetVersionString, LooksUpTheTableOfTheFirstTranslation)
{
    const LookupCase cases[] = {
        {"value present",
         resourceWith({{0x0409, 0x04E4}}, {{"\\StringFileInfo\\040904E4\\CompanyName", "Norv"}}),
         "CompanyName", "Norv"},
        {"value missing gives an empty text",
         resourceWith({{0x0409, 0x04E4}}, {{"\\StringFileInfo\\040904E4\\CompanyName", "Norv"}}),
         "Comments", ""},
        {"no translation gives an empty text",
         resourceWith({}, {{"\\StringFileInfo\\040904E4\\CompanyName", "Norv"}}), "CompanyName",
         ""},
        {"only the first translation is used",
         resourceWith({{0x0407, 0x04B0}, {0x0409, 0x04E4}},
                      {{"\\StringFileInfo\\040704B0\\CompanyName", "first"},
                       {"\\StringFileInfo\\040904E4\\CompanyName", "second"}}),
         "CompanyName", "first"},
        {"a value only in the second translation is not found",
         resourceWith({{0x0407, 0x04B0}, {0x0409, 0x04E4}},
                      {{"\\StringFileInfo\\040904E4\\Comments", "second"}}),
         "Comments", ""},
        {"hexadecimal digits are upper case",
         resourceWith({{0x0c0a, 0x04e4}}, {{"\\StringFileInfo\\0c0a04e4\\ProductName", "lower"},
                                           {"\\StringFileInfo\\0C0A04E4\\ProductName", "upper"}}),
         "ProductName", "upper"},
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(GetVersionString(c.resource, QString::fromLatin1(c.name)),
                  QString::fromLatin1(c.expected))
            << c.what;
}

struct BuildCase {
    std::uint32_t ms;
    std::uint32_t ls;
    const char* expected;
};

TEST(BuildText, FourSixteenBitPartsMostSignificantFirst)
{
    const BuildCase cases[] = {
        {0x00010000, 0x00000001, "Build: 1.0.0.1"},
        {0x00010002, 0x00030004, "Build: 1.2.3.4"},
        {0xFFFF0000, 0x0000FFFF, "Build: 65535.0.0.65535"},
        {0, 0, "Build: 0.0.0.0"},
    };
    for (const BuildCase& c : cases) {
        VersionResource resource;
        resource.productVersionMS = c.ms;
        resource.productVersionLS = c.ls;
        EXPECT_EQ(buildText(resource), QString::fromLatin1(c.expected));
    }
}

TEST(BuiltInVersionResource, CarriesTheConfiguredIdentity)
{
    const VersionResource resource = builtInVersionResource();
    EXPECT_EQ(buildText(resource),
              QStringLiteral("Build: ") + QString::fromLatin1(VEMBRA_TEST_PROJECT_VERSION));
    for (const char* name :
         {kProductNameValue, kCompanyNameValue, kLegalCopyrightValue, kCommentsValue})
        EXPECT_FALSE(GetVersionString(resource, QString::fromLatin1(name)).isEmpty()) << name;
    EXPECT_TRUE(GetVersionString(resource, QString::fromLatin1(kLegalCopyrightValue))
                    .contains(GetVersionString(resource, QString::fromLatin1(kCompanyNameValue))));
    EXPECT_EQ(readVersionResource(QStringLiteral("/no/such/program")).strings, resource.strings);
}

} // namespace
} // namespace vembra
