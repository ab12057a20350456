// The user's settings: read while the window is created, written when it closes.
#include "ui/main_window.h"

#include "app/settings/decimal_text.h"
#include "app/settings/map_colour.h"
#include "app/settings/settings_values.h"
#include "platform/settings/registry_settings.h"
#include "ui/main_unit.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>

#include <cmath>

namespace vembra {

namespace {

QString name(const char* text)
{
    return QString::fromLatin1(text);
}

// Hundredths of a value, rounded to the nearest integer with ties to even.
int hundredths(double value)
{
    return static_cast<int>(std::nearbyint(value * 100.0));
}

} // namespace

void T_frmMain::LoadSettings()
{
    using namespace settings_names;
    const RegistrySettings& store = settingsStore();
    const StoredSettings defaults;

    FMeasuredDelay = readDecimalSetting(store, name(kValues), name(kMeasured), defaults.measured);
    writeGuarded(ed_Measured, formatFixed2(FMeasuredDelay));
    // Moving the bar runs its handler when the position changes: it derives a tolerance.
    sb_Delay->setValue(hundredths(FMeasuredDelay));

    FTolerance = readDecimalSetting(store, name(kValues), name(kTolerance), defaults.tolerance);
    writeGuarded(ed_Delta, formatFixed2(FTolerance));
    sb_Tolerance->setValue(hundredths(FTolerance));

    const QString section = name(kSettings);
    pmi_ShowMarker->setChecked(
        readBooleanSetting(store, section, name(kShowMarker), defaults.showMarker));
    pmi_ShowLine->setChecked(
        readBooleanSetting(store, section, name(kShowLine), defaults.showLine));
    pmi_DarkLine->setChecked(
        readBooleanSetting(store, section, name(kDarkLine), defaults.darkLine));
    pmi_Transparent->setChecked(
        readBooleanSetting(store, section, name(kMarkerStyle), defaults.markerStyle));
    pmi_InvertMouse->setChecked(
        readBooleanSetting(store, section, name(kInvertMouse), defaults.invertMouse));
    FMapBGColor = readIntegerSetting(store, section, name(kMapBGColor), defaults.mapBGColor);
    HasIVexel = readBooleanSetting(store, section, name(kInvertFlag), defaults.invertFlag);
}

void T_frmMain::SaveSettings()
{
    StoredSettings values;
    values.measured = FMeasuredDelay;
    values.tolerance = FTolerance;
    values.showMarker = pmi_ShowMarker->isChecked();
    values.showLine = pmi_ShowLine->isChecked();
    values.darkLine = pmi_DarkLine->isChecked();
    values.markerStyle = pmi_Transparent->isChecked();
    values.invertMouse = pmi_InvertMouse->isChecked();
    values.mapBGColor = FMapBGColor;
    values.invertFlag = HasIVexel;
    writeStoredSettings(settingsStore(), values);
}

void T_frmMain::setMapBackground(std::int32_t stored)
{
    FMapBGColor = stored;
    QPalette palette = m_client->palette();
    palette.setColor(QPalette::Window, colourFromStored(stored, QApplication::palette()));
    m_client->setPalette(palette);
}

} // namespace vembra
