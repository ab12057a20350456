// The import's pure rules: path words and rewrites, connect numbers, names, flags, encodings.
#include "import/destination.h"
#include "import/import_dialog.h"
#include "import/source_paths.h"
#include "import/word_functions.h"
#include "platform/firebird/named_parameters.h"
#include "platform/firebird/win1251.h"
#include "tools/sample/system_database.h"

#include <gtest/gtest.h>

using namespace vembra;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

struct WordCase {
    const char* text;
    int count;
    int n;
    int position;
    const char* word;
};

TEST(WordFunctions, CountFindAndExtractWordsBetweenPathDelimiters)
{
    const WordCase cases[] = {
        {"c:\\database\\a.norv", 3, 2, 4, "database"},
        {"c:\\database\\a.norv", 3, 3, 13, "a.norv"},
        {"c:\\database\\a.norv", 3, 4, 0, ""},
        {"//opt///DATA/a.norv", 3, 1, 3, "opt"},
        {"//opt///DATA/a.norv", 3, 2, 9, "DATA"},
        {"", 0, 1, 0, ""},
        {"\\/\\", 0, 1, 0, ""},
        {"plain", 1, 1, 1, "plain"},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CountWords(s(c.text), kPathDelims), c.count);
        EXPECT_EQ(WordPosition(c.n, s(c.text), kPathDelims), c.position);
        EXPECT_EQ(ExtractWord(c.n, s(c.text), kPathDelims), s(c.word));
    }
}

struct PathCase {
    const char* typed;
    const char* windows;
    const char* linux;
};

TEST(ServerPaths, AreRewrittenForTheServersPlatform)
{
    const PathCase cases[] = {
        {"c:\\database\\a.norv", "\\DATABASE\\A.NORV", "/Database/A.NORV"},
        {"database/a.norv", "C:\\DATABASE\\A.NORV", "/Database/A.NORV"},
        {"c:\\database\\base1\\a.norv", "\\DATABASE\\BASE1\\A.NORV", "/Database/Base1/A.NORV"},
        {"/opt/DATA/a.norv", "C:\\OPT\\DATA\\A.NORV", "/Opt/Data/A.NORV"},
        {"c:", "", ""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.typed);
        QString windows = s(c.typed);
        ToWindowsServerPath(windows);
        EXPECT_EQ(windows, s(c.windows));
        QString linux = s(c.typed);
        ToLinuxServerPath(linux);
        EXPECT_EQ(linux, s(c.linux));
    }
}

TEST(ServerPaths, LocalFilesAreNamedByABlankServerOr127001OrLocalhost)
{
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"   ", true},
        {"127.0.0.1", true},
        {"localhost", true},
        {"LOCALHOST", true},
        {"LocalHost", true},
        {" 127.0.0.1", false},
        {"127.0.0.1 ", false},
        {"10.0.0.7", false},
        {"127.0.0.1/3053", false},
    };
    for (const auto& [server, local] : cases)
        EXPECT_EQ(isLocalSourceServer(s(server)), local) << "'" << server << "'";
}

TEST(ServerPaths, PlatformComesFromTheImplementationString)
{
    EXPECT_EQ(platformFromImplementation(s("Firebird/Linux/AMD/Intel/x64"), s("LI-V3.0.11")).label,
              s("Remote server: Platform: Linux, version: LI-V3.0.11"));
    EXPECT_EQ(platformFromImplementation(s("Firebird/Linux/AMD/Intel/x64"), s("x")).platform,
              kPlatformLinux);
    const PlatformAnswer windows =
        platformFromImplementation(s("Firebird/windows/x64"), s("WI-V3"));
    EXPECT_EQ(windows.platform, kPlatformWindows);
    EXPECT_EQ(windows.label, s("Remote server: Platform: Windows, version: WI-V3"));
    const PlatformAnswer other = platformFromImplementation(s("Firebird/Darwin/ARM"), s("UI-V3"));
    EXPECT_EQ(other.platform, kPlatformNone);
    EXPECT_TRUE(other.label.isEmpty());
}

TEST(ConnectNumbers, AreParsedFromConnectStr)
{
    const std::pair<const char*, int> cases[] = {
        {"1|1", 1},    {"2|5", 21}, {"3|16", 48},  {"7", 0},      {"2|x", 0},  {"", 0},
        {" 2| 5", 21}, {"2 |5", 0}, {"-1|3", -29}, {"+2|+1", 17}, {"2|5|", 0}, {"|5", 0},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(ParseConnectNo(s(text)), number) << "'" << text << "'";
}

TEST(DestinationNames, AreTheSourceFilesNameWithoutNorv)
{
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\database\\", ""},
        {"/srv/data/base.norv", "base"},
        {"c:\\database\\city.norv", "city"},
        {"city.cpd", "city.cpd"},
        {"d:\\x/y\\city.NORV", "city.NORV"},
        {"a.norv.b.norv", "a"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(destinationNameFromPath(s(path)), s(name)) << path;
    EXPECT_EQ(destinationPath(s("/data/Norv/VembraNavigator/"), s("city.cpd")),
              s("/data/Norv/VembraNavigator/city.cpd.mdb"));
}

TEST(DestinationNames, TheReuseQuestionKeepsItsLineBreaks)
{
    EXPECT_EQ(destinationExistsQuestion(s("/a/b.mdb")).toStdString(),
              "File\n\r/a/b.mdb\n\rexists.\n\n\rchange the available file on new?");
}

TEST(SettingsDatabase, IsNamedWithSettingsBeforeNorv)
{
    const std::pair<const char*, const char*> cases[] = {
        {"D:\\data\\city.norv", "D:\\data\\citySettings.norv"},
        {"/srv/demo.norv", "/srv/demoSettings.norv"},
        {"/srv/city.NORV", ""},
        {"127.0.0.1:/DATABASE/A.NORV", ""},
        {"/srv/a.norv/b.norv", "/srv/aSettings.norv/b.norv"},
    };
    for (const auto& [source, settings] : cases) {
        EXPECT_EQ(settingsDatabaseOf(s(source)), s(settings)) << source;
        EXPECT_EQ(sample::settingsDatabaseName(s(source)), s(settings)) << source;
    }
}

TEST(SettingsDatabase, FlagsAreBitsFiveAndSixOfTheWordAtOffset50)
{
    QByteArray blob(52, '\0');
    blob[50] = char(96);
    auto flags = settingsFlags(blob);
    ASSERT_TRUE(flags);
    EXPECT_TRUE(flags->iVexel);
    EXPECT_TRUE(flags->fVexel);
    blob[50] = char(64);
    flags = settingsFlags(blob);
    ASSERT_TRUE(flags);
    EXPECT_FALSE(flags->iVexel);
    EXPECT_TRUE(flags->fVexel);
    blob[50] = char(0x9F); // every bit but 5 and 6
    blob[51] = char(0xFF);
    flags = settingsFlags(blob);
    EXPECT_FALSE(flags->iVexel);
    EXPECT_FALSE(flags->fVexel);
    EXPECT_FALSE(settingsFlags(QByteArray(51, char(0x60))));
    EXPECT_TRUE(TestBit(std::int32_t(0x80000000), 31));
    EXPECT_FALSE(TestBit(1, 32));
    const auto generated = settingsFlags(sample::serverSettingsBlob(false, true));
    ASSERT_TRUE(generated);
    EXPECT_FALSE(generated->iVexel);
    EXPECT_TRUE(generated->fVexel);
}

TEST(SourceFileDialog, FilterListsNorvCpdAndAllFiles)
{
    EXPECT_EQ(qtFileFilter(QString::fromLatin1(kSourceFilter)),
              s("Norv system data (*.norv);;CPD Garvik data (*.cpd);;All files (*.*)"));
}

TEST(Win1251, CyrillicAndSignsRoundTrip)
{
    const std::string text = "Узел Ёлкино-Ъ № 5 – «новый» €";
    const std::string bytes = firebird::utf8ToWin1251(text);
    EXPECT_EQ(bytes.size(), std::size_t(QString::fromStdString(text).size()));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xD3); // У
    EXPECT_EQ(firebird::win1251ToUtf8(bytes), text);
    EXPECT_EQ(firebird::utf8ToWin1251("日本"), "??");
    EXPECT_EQ(firebird::win1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

TEST(NamedParameters, BecomePositionalOutsideQuotesAndComments)
{
    const auto p = firebird::toPositional(
        "select ':x', \":y\" from t where a = :nname and b = :NID /* :c */ -- :d\n and e = :nname");
    EXPECT_EQ(p.text,
              "select ':x', \":y\" from t where a = ? and b = ? /* :c */ -- :d\n and e = ?");
    EXPECT_EQ(p.names, (std::vector<std::string>{"nname", "nid", "nname"}));
    EXPECT_EQ(firebird::parameterKey(":NName"), "nname");
}

} // namespace
