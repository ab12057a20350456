#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

class QSettings;

namespace vembra {

// A failure to read or write the settings store, with the text the user sees.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user's key SOFTWARE\TOLVANE\Vembra Navigator Vexel: the registry on Windows, the user's
// configuration file elsewhere. Sections are subkeys; every value is a string.
class RegistrySettings {
public:
    static constexpr const char* kOrganisation = "TOLVANE";
    static constexpr const char* kApplication = "Vembra Navigator Vexel";

    // The product's own key for the current user.
    RegistrySettings();
    // A settings file of the same form at that path (INI format).
    explicit RegistrySettings(const QString& iniFile);
    ~RegistrySettings();

    RegistrySettings(const RegistrySettings&) = delete;
    RegistrySettings& operator=(const RegistrySettings&) = delete;

    // The value's text; nothing when the value or its section is absent. A value stored with
    // another type than a string throws "Invalid data type for '<name>'".
    std::optional<QString> readString(const QString& section, const QString& name) const;
    void writeString(const QString& section, const QString& name, const QString& value);
    // Removes a value (used to restore a clean state).
    void remove(const QString& section, const QString& name);
    // Writes everything out; throws when the store cannot be written.
    void flush();

    QString location() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace vembra
