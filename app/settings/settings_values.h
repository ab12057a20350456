#pragma once

#include <QString>

#include <cstdint>

namespace vembra {

class RegistrySettings;

// Section and value names of the stored settings.
namespace settings_names {
inline constexpr const char* kValues = "Values";
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kExport = "Export";
inline constexpr const char* kMeasured = "Measured";
inline constexpr const char* kTolerance = "Tolerance";
inline constexpr const char* kShowMarker = "ShowMarker";
inline constexpr const char* kShowLine = "ShowLine";
inline constexpr const char* kDarkLine = "DarkLine";
inline constexpr const char* kMarkerStyle = "MarkerStyle";
inline constexpr const char* kInvertMouse = "InvertMouse";
inline constexpr const char* kMapBGColor = "MapBGColor";
inline constexpr const char* kInvertFlag = "InvertFlag";
} // namespace settings_names

// The system colour of disabled text, the map background's default (0xFF000011).
inline constexpr std::int32_t kDefaultMapBGColor = static_cast<std::int32_t>(0xFF000011u);

// Everything the main window remembers between runs, with the first-run defaults.
struct StoredSettings {
    double measured = 0.01;
    double tolerance = 0.01;
    bool showMarker = true;
    bool showLine = true;
    bool darkLine = false;
    bool markerStyle = false;
    bool invertMouse = false;
    std::int32_t mapBGColor = kDefaultMapBGColor;
    bool invertFlag = false;
};

// Reading rules: an absent value (or section) gives the default; a number with decimals is read
// through LocalizeDecimal and fails with the conversion's message when it is no number; an
// integer or Boolean that is no whole number gives the default; a Boolean is true when not 0.
double readDecimalSetting(const RegistrySettings& store, const QString& section,
                          const QString& name, double defaultValue);
std::int32_t readIntegerSetting(const RegistrySettings& store, const QString& section,
                                const QString& name, std::int32_t defaultValue);
bool readBooleanSetting(const RegistrySettings& store, const QString& section, const QString& name,
                        bool defaultValue);

// Reads every value in its order; a failure ends the reading with its error.
StoredSettings readStoredSettings(const RegistrySettings& store);

// Writes every value in its order as text: decimals as "%0.2f" in the locale's form, integers in
// decimal, Booleans as "1" or "0".
void writeStoredSettings(RegistrySettings& store, const StoredSettings& values);

} // namespace vembra
