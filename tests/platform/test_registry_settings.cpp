#include "platform/settings/registry_settings.h"

#include <QFile>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vembra::RegistrySettings;

namespace {

TEST(RegistrySettings, StringsRoundTripAndAbsentValuesAreEmpty)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.conf"));
    {
        RegistrySettings store(file);
        store.writeString(QStringLiteral("Values"), QStringLiteral("Measured"),
                          QStringLiteral("12,50"));
        store.flush();
    }
    RegistrySettings store(file);
    EXPECT_EQ(store.readString(QStringLiteral("Values"), QStringLiteral("Measured")),
              QStringLiteral("12,50"));
    EXPECT_FALSE(store.readString(QStringLiteral("Values"), QStringLiteral("Tolerance")));
    EXPECT_FALSE(store.readString(QStringLiteral("Nowhere"), QStringLiteral("Measured")));
}

TEST(RegistrySettings, HandEditedCommaValueReadsAsOneText)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.conf"));
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write("[Values]\nMeasured=12,50\n");
    raw.close();
    RegistrySettings store(file);
    EXPECT_EQ(store.readString(QStringLiteral("Values"), QStringLiteral("Measured")),
              QStringLiteral("12,50"));
}

TEST(RegistrySettings, ValueOfAnotherTypeIsRefusedWithItsName)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.conf"));
    {
        QSettings raw(file, QSettings::IniFormat);
        raw.setValue(QStringLiteral("Settings/MapBGColor"), QRect(1, 2, 3, 4));
    }
    RegistrySettings store(file);
    try {
        (void)store.readString(QStringLiteral("Settings"), QStringLiteral("MapBGColor"));
        FAIL() << "a non-string value was read";
    } catch (const vembra::SettingsError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'MapBGColor'");
    }
}

TEST(RegistrySettings, ProductKeyUsesTheOrganisationAndApplicationNames)
{
    RegistrySettings store;
    EXPECT_TRUE(store.location().contains(QStringLiteral("TOLVANE")))
        << store.location().toStdString();
    EXPECT_TRUE(store.location().contains(QStringLiteral("Vembra Navigator Vexel")));
}

} // namespace
