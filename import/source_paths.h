#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace vembra {

// The platform of the server that holds the source: 0 none recognised, 1 Windows, 2 Linux.
enum ServerPlatformKind : std::uint8_t {
    kPlatformNone = 0,
    kPlatformWindows = 1,
    kPlatformLinux = 2
};

// Rewrites a typed path for a Windows server: the drive dropped (or "c:" added when there is
// none), backslashes, upper case. c:\database\a.norv gives \DATABASE\A.NORV.
void ToWindowsServerPath(QString& path);
// Rewrites a typed path for a Linux server: the drive dropped, slashes, folders capitalised,
// the file name in upper case. c:\database\base1\a.norv gives /Database/Base1/A.NORV.
void ToLinuxServerPath(QString& path);

// The server field names this machine's files: blank, "127.0.0.1" or "localhost" in any case.
bool isLocalSourceServer(const QString& serverField);

// The platform told by the service manager's implementation string, and the line shown for it.
struct PlatformAnswer {
    std::uint8_t platform = kPlatformNone;
    QString label;
};
PlatformAnswer platformFromImplementation(const QString& implementation,
                                          const QString& serverVersion);

// The companion settings database: "Settings" inserted in front of the first ".norv"
// (case-sensitive); empty when the name has none.
QString settingsDatabaseOf(const QString& connectionString);

// Bit Bit (0 to 31) of Value is set.
bool TestBit(std::int32_t value, int bit);

// The probe flags of the settings blob: nothing when it is shorter than 52 bytes.
struct SettingsFlags {
    bool iVexel = false;
    bool fVexel = false;
};
std::optional<SettingsFlags> settingsFlags(const QByteArray& blob);

// The local connect number of a connectstr "A|B": (A - 1) * 16 + B; 0 when either part is no
// whole number.
std::int32_t ParseConnectNo(const QString& text);

// The destination name proposed for a source path: its last word with ".norv" and what follows
// cut off.
QString destinationNameFromPath(const QString& path);

} // namespace vembra
