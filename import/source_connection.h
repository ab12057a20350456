#pragma once

#include "import/source_paths.h"

#include <QString>
#include <QStringList>

namespace vembra {

class TDM;

// What opening a source shows: the two status lines, the node list, and whether the source's
// maps carry jumper_distance.
struct SourceState {
    QString FSourceName; // the connection string of the source chosen last
    QString status1;
    QString status2;
    QStringList nodes;
    bool listed = false; // the node list was loaded
    bool HasJumperDistance = false;
};

// Asks the server's service manager (srvProp) for its platform and version, logging in as
// SYSDBA with the system password. Throws the client's error when the server does not answer.
PlatformAnswer QueryServerPlatform(TDM& dm, const QString& server, const QString& password);

// The connection string of a server source: the host trimmed, a colon, the path trimmed and
// rewritten for the server's platform.
QString serverSourceName(const QString& server, const QString& path, std::uint8_t platform);

// Opens the source (FDB), tests it with FDSet, lists its nodes and probes jumper_distance.
// The state is filled as far as the steps get, also when one of them throws.
void ConnectSource(TDM& dm, const QString& name, SourceState& state);

// The source table has the column (names compared without regard to case).
bool SourceColumnExists(TDM& dm, const QString& table, const QString& column);

// The source's node names, in vembraid order when it has that column, else in id order.
QStringList LoadSourceNodeList(TDM& dm);

// Reads the probe flags from the source's companion settings database (SDB); nothing when the
// source's name has no ".norv", no row has status 0, or the blob is shorter than 52 bytes.
std::optional<SettingsFlags> ReadSourceSettings(TDM& dm);

// The settings connection (SDB with STrans started), and its closing.
void ConnectSettingsDatabase(TDM& dm, const QString& name);
void CloseSettingsDatabase(TDM& dm);

} // namespace vembra
