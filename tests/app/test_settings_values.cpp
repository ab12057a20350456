#include "app/settings/decimal_text.h"
#include "app/settings/map_colour.h"
#include "app/settings/settings_values.h"
#include "platform/settings/registry_settings.h"
#include "tests/support/locale_guard.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;
using vembra::test::LocaleGuard;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

class SettingsFile : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("settings.conf")); }
    void write(const char* section, const char* name, const char* value)
    {
        RegistrySettings store(file());
        store.writeString(s(section), s(name), s(value));
        store.flush();
    }
    QTemporaryDir dir;
};

struct LocalizeCase {
    const char* input;
    const char* comma;    // under a decimal-comma locale
    const char* fullStop; // under a full-stop locale
};

TEST(LocalizeDecimal, ReplacesTheFirstSeparatorByTheLocales)
{
    const LocalizeCase cases[] = {
        {"0.01", "0,01", "0.01"},
        {"12,50", "12,50", "12.50"},
        {"50.00", "50,00", "50.00"},
        {"1,2.3", "1,2.3", "1,2.3"},
        {"7", "7", "7"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        {
            LocaleGuard locale(LocaleGuard::decimalComma());
            EXPECT_EQ(LocalizeDecimal(s(c.input)), s(c.comma)) << c.input;
        }
        {
            LocaleGuard locale(LocaleGuard::fullStop());
            EXPECT_EQ(LocalizeDecimal(s(c.input)), s(c.fullStop)) << c.input;
        }
    }
}

TEST(DecimalText, FormatsAndReadsWithTheLocalesSeparator)
{
    LocaleGuard locale(LocaleGuard::decimalComma());
    EXPECT_EQ(formatFixed2(12.5), s("12,50"));
    EXPECT_EQ(formatFixed5(4.5), s("4,50000"));
    EXPECT_DOUBLE_EQ(textToFloat(s(" 0,25 ")), 0.25);
    EXPECT_THROW(textToFloat(s("0.25")), ConversionError);
    try {
        textToFloat(s("abc"));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

TEST_F(SettingsFile, FirstRunGivesTheDefaults)
{
    const StoredSettings read = readStoredSettings(RegistrySettings(file()));
    EXPECT_DOUBLE_EQ(read.measured, 0.01);
    EXPECT_DOUBLE_EQ(read.tolerance, 0.01);
    EXPECT_TRUE(read.showMarker);
    EXPECT_TRUE(read.showLine);
    EXPECT_FALSE(read.darkLine);
    EXPECT_FALSE(read.markerStyle);
    EXPECT_FALSE(read.invertMouse);
    EXPECT_EQ(read.mapBGColor, -16777199);
    EXPECT_FALSE(read.invertFlag);
}

TEST_F(SettingsFile, EveryValueRoundTripsAsText)
{
    StoredSettings values;
    values.measured = 20.0;
    values.tolerance = 0.3;
    values.showMarker = false;
    values.showLine = false;
    values.darkLine = true;
    values.markerStyle = true;
    values.invertMouse = true;
    values.mapBGColor = 0x00FF0000;
    values.invertFlag = true;
    {
        LocaleGuard locale(LocaleGuard::fullStop());
        RegistrySettings store(file());
        writeStoredSettings(store, values);
    }
    RegistrySettings store(file());
    EXPECT_EQ(store.readString(s("Values"), s("Measured")), s("20.00"));
    EXPECT_EQ(store.readString(s("Values"), s("Tolerance")), s("0.30"));
    EXPECT_EQ(store.readString(s("Settings"), s("DarkLine")), s("1"));
    EXPECT_EQ(store.readString(s("Settings"), s("ShowLine")), s("0"));
    EXPECT_EQ(store.readString(s("Settings"), s("MapBGColor")), s("16711680"));
    const StoredSettings read = readStoredSettings(store);
    EXPECT_DOUBLE_EQ(read.measured, 20.0);
    EXPECT_DOUBLE_EQ(read.tolerance, 0.3);
    EXPECT_FALSE(read.showMarker);
    EXPECT_FALSE(read.showLine);
    EXPECT_TRUE(read.darkLine);
    EXPECT_TRUE(read.markerStyle);
    EXPECT_TRUE(read.invertMouse);
    EXPECT_EQ(read.mapBGColor, 0x00FF0000);
    EXPECT_TRUE(read.invertFlag);
}

TEST_F(SettingsFile, DelayWrittenUnderOneLocaleReadsUnderTheOther)
{
    StoredSettings values;
    values.measured = 12.5;
    {
        LocaleGuard locale(LocaleGuard::decimalComma());
        RegistrySettings store(file());
        writeStoredSettings(store, values);
        EXPECT_EQ(store.readString(s("Values"), s("Measured")), s("12,50"));
    }
    {
        LocaleGuard locale(LocaleGuard::fullStop());
        EXPECT_DOUBLE_EQ(readStoredSettings(RegistrySettings(file())).measured, 12.5);
        RegistrySettings store(file());
        writeStoredSettings(store, values);
        EXPECT_EQ(store.readString(s("Values"), s("Measured")), s("12.50"));
    }
    LocaleGuard locale(LocaleGuard::decimalComma());
    EXPECT_DOUBLE_EQ(readStoredSettings(RegistrySettings(file())).measured, 12.5);
}

TEST_F(SettingsFile, BooleanTextsFollowTheReadingRules)
{
    struct Case {
        const char* text;
        bool darkLine;   // default false
        bool showMarker; // default true
    };
    const Case cases[] = {{"2", true, true},
                          {"yes", false, true},
                          {"0", false, false},
                          {"-1", true, true},
                          {"", false, true}};
    for (const auto& c : cases) {
        write("Settings", "DarkLine", c.text);
        write("Settings", "ShowMarker", c.text);
        const StoredSettings read = readStoredSettings(RegistrySettings(file()));
        EXPECT_EQ(read.darkLine, c.darkLine) << "text '" << c.text << "'";
        EXPECT_EQ(read.showMarker, c.showMarker) << "text '" << c.text << "'";
    }
}

TEST_F(SettingsFile, NoNumberInMeasuredEndsTheReading)
{
    write("Values", "Measured", "abc");
    try {
        readStoredSettings(RegistrySettings(file()));
        FAIL() << "a measured delay of 'abc' was read";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
}

TEST_F(SettingsFile, EmptyMeasuredGivesTheDefaultAndBadColourTheDefault)
{
    write("Values", "Measured", "");
    write("Settings", "MapBGColor", "blue");
    const StoredSettings read = readStoredSettings(RegistrySettings(file()));
    EXPECT_DOUBLE_EQ(read.measured, 0.01);
    EXPECT_EQ(read.mapBGColor, kDefaultMapBGColor);
}

TEST(MapColour, StoredValuesDecodeToColours)
{
    QPalette palette;
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Button, QColor(4, 5, 6));
    EXPECT_EQ(colourFromStored(0x000000FF, palette), QColor(255, 0, 0));
    EXPECT_EQ(colourFromStored(0x00FF0000, palette), QColor(0, 0, 255));
    EXPECT_EQ(colourFromStored(0x00336699, palette), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(colourFromStored(kDefaultMapBGColor, palette), QColor(1, 2, 3));
    EXPECT_EQ(colourFromStored(static_cast<std::int32_t>(0xFF00000Fu), palette), QColor(4, 5, 6));
    EXPECT_EQ(storedFromColour(QColor(0x99, 0x66, 0x33)), 0x00336699);
    EXPECT_EQ(storedFromColour(QColor(0, 0, 255)), 0x00FF0000);
}

} // namespace

namespace {

TEST(EntryText, TypedNumbersAreCleanedAndClamped)
{
    LocaleGuard locale(LocaleGuard::fullStop());
    struct Case {
        const char* typed;
        double max;
        const char* text;
        bool changed;
    };
    const Case cases[] = {
        {"7", 50, "7.00", false},    {"75", 50, "50.00", true},  {"", 50, "0.00", false},
        {".", 0.4, "0.00", false},   {".5", 0.4, "0.40", true},  {"1,5", 50, "1.50", false},
        {"1.2.3", 50, "1.23", true}, {"2a0", 50, "20.00", true}, {"0.25", 0.4, "0.25", false},
    };
    for (const auto& c : cases) {
        const EntryText r = validateEntryText(s(c.typed), 0.0, c.max);
        EXPECT_EQ(r.text, s(c.text)) << c.typed;
        EXPECT_EQ(r.changed, c.changed) << c.typed;
    }
    QString text = s(",25");
    EXPECT_FALSE(CleanNumberText(text));
    EXPECT_EQ(text, s("0.25"));
}

} // namespace
