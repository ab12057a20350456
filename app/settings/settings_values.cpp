#include "app/settings/settings_values.h"

#include "app/settings/decimal_text.h"
#include "platform/settings/registry_settings.h"

#include <limits>

namespace vembra {

namespace {

QString name(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

double readDecimalSetting(const RegistrySettings& store, const QString& section,
                          const QString& valueName, double defaultValue)
{
    const auto text = store.readString(section, valueName);
    if (!text || text->isEmpty())
        return defaultValue;
    return textToFloat(LocalizeDecimal(*text));
}

std::int32_t readIntegerSetting(const RegistrySettings& store, const QString& section,
                                const QString& valueName, std::int32_t defaultValue)
{
    const auto text = store.readString(section, valueName);
    if (!text)
        return defaultValue;
    bool ok = false;
    const QString trimmed = text->trimmed();
    // Whole numbers in decimal, or in hexadecimal with a leading '$' or "0x".
    long long value = 0;
    if (trimmed.startsWith(QLatin1Char('$')))
        value = trimmed.mid(1).toLongLong(&ok, 16);
    else if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = trimmed.mid(2).toLongLong(&ok, 16);
    else
        value = trimmed.toLongLong(&ok, 10);
    if (!ok || trimmed != *text)
        return defaultValue;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::uint32_t>::max())
        return defaultValue;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFFll));
}

bool readBooleanSetting(const RegistrySettings& store, const QString& section,
                        const QString& valueName, bool defaultValue)
{
    const auto text = store.readString(section, valueName);
    if (!text)
        return defaultValue;
    bool ok = false;
    const long long value = text->toLongLong(&ok, 10);
    if (!ok)
        return defaultValue;
    return value != 0;
}

StoredSettings readStoredSettings(const RegistrySettings& store)
{
    using namespace settings_names;
    StoredSettings s;
    const QString values = name(kValues);
    const QString settings = name(kSettings);
    s.measured = readDecimalSetting(store, values, name(kMeasured), s.measured);
    s.tolerance = readDecimalSetting(store, values, name(kTolerance), s.tolerance);
    s.showMarker = readBooleanSetting(store, settings, name(kShowMarker), s.showMarker);
    s.showLine = readBooleanSetting(store, settings, name(kShowLine), s.showLine);
    s.darkLine = readBooleanSetting(store, settings, name(kDarkLine), s.darkLine);
    s.markerStyle = readBooleanSetting(store, settings, name(kMarkerStyle), s.markerStyle);
    s.invertMouse = readBooleanSetting(store, settings, name(kInvertMouse), s.invertMouse);
    s.mapBGColor = readIntegerSetting(store, settings, name(kMapBGColor), s.mapBGColor);
    s.invertFlag = readBooleanSetting(store, settings, name(kInvertFlag), s.invertFlag);
    return s;
}

void writeStoredSettings(RegistrySettings& store, const StoredSettings& v)
{
    using namespace settings_names;
    const QString values = name(kValues);
    const QString settings = name(kSettings);
    const auto boolean = [](bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); };
    store.writeString(values, name(kMeasured), formatFixed2(v.measured));
    store.writeString(values, name(kTolerance), formatFixed2(v.tolerance));
    store.writeString(settings, name(kShowMarker), boolean(v.showMarker));
    store.writeString(settings, name(kShowLine), boolean(v.showLine));
    store.writeString(settings, name(kDarkLine), boolean(v.darkLine));
    store.writeString(settings, name(kMarkerStyle), boolean(v.markerStyle));
    store.writeString(settings, name(kInvertMouse), boolean(v.invertMouse));
    store.writeString(settings, name(kMapBGColor), QString::number(v.mapBGColor));
    store.writeString(settings, name(kInvertFlag), boolean(v.invertFlag));
    store.flush();
}

} // namespace vembra
