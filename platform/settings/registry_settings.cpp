#include "platform/settings/registry_settings.h"

#include <QSettings>
#include <QStringList>

namespace vembra {

RegistrySettings::RegistrySettings()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QString::fromLatin1(kOrganisation),
                                             QString::fromLatin1(kApplication)))
{
}

RegistrySettings::RegistrySettings(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

RegistrySettings::~RegistrySettings() = default;

std::optional<QString> RegistrySettings::readString(const QString& section,
                                                    const QString& name) const
{
    const QString key = section + QLatin1Char('/') + name;
    if (!m_settings->contains(key))
        return std::nullopt;
    const QVariant value = m_settings->value(key);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QByteArray:
        // INI files hold plain bytes for values that were not written as text.
        break;
    case QMetaType::QStringList:
        // An INI value with an unquoted comma ("12,50", a decimal comma) reads back as a list;
        // in the registry it is one string, so join it again.
        return value.toStringList().join(QLatin1Char(','));
    default:
        break;
    }
    throw SettingsError(QStringLiteral("Invalid data type for '%1'").arg(name).toStdString());
}

void RegistrySettings::writeString(const QString& section, const QString& name,
                                   const QString& value)
{
    m_settings->setValue(section + QLatin1Char('/') + name, value);
}

void RegistrySettings::remove(const QString& section, const QString& name)
{
    m_settings->remove(section + QLatin1Char('/') + name);
}

void RegistrySettings::flush()
{
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        throw SettingsError(
            QStringLiteral("The settings cannot be written: %1").arg(location()).toStdString());
}

QString RegistrySettings::location() const
{
    return m_settings->fileName();
}

} // namespace vembra
