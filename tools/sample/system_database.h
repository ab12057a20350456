#pragma once

#include "platform/firebird/firebird_attachment.h"
#include "tools/sample/sample_database.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace vembra::sample {

// Which optional columns a generated system database has.
struct SystemSchema {
    bool vembraId = true;       // tbl_node.vembraid
    bool jumperDistance = true; // tbl_map.jumper_distance
    bool pimId = true;          // tbl_deviceinfo.pimid
    bool fVexelId = true;       // tbl_deviceinfo.FVexelID
};

// One device row of the system database.
struct SystemDevice {
    std::int32_t id = 0;
    std::int32_t parent = 0;
    QString code; // stored once in tbl_devicecode, referred to by id
    double delay = 0;
    double xpage = 0;
    double ypage = 0;
    std::optional<std::int32_t> pimId;    // none: NULL
    std::optional<std::int32_t> fVexelId; // none: NULL
};

// One node row of the system database with its map row and devices.
struct SystemNode {
    std::int32_t id = 0;
    QString fullName;
    QString connectStr; // "A|B"
    std::int32_t vembraId = 0;
    bool hasMapRow = true;
    QByteArray map;                       // empty: NULL
    std::optional<double> jumperDistance; // none: NULL
    std::vector<SystemDevice> devices;
};

// The connection string "A|B" whose connect number (A - 1) * 16 + B is connectNo.
QString connectStrOf(std::int32_t connectNo);

// The generated nodes as rows of a system database: maps drawn and compressed, jumper_distance
// from the marker size, probes as pimid and fvexelid; vembraid runs against the id order.
std::vector<SystemNode> systemNodes(const std::vector<SampleNode>& nodes);

// Creates a system database (it must not exist) and fills it. connectionString is a file path
// (embedded engine) or "host/port:path" on a server.
void writeSystemDatabase(const std::string& connectionString, const firebird::Login& login,
                         const SystemSchema& schema, const std::vector<SystemNode>& nodes);

// The head of the settings blob: 52 bytes whose word at offset 50 holds the i-Vexel (bit 5) and
// f-Vexel (bit 6) flags.
QByteArray serverSettingsBlob(bool iVexel, bool fVexel);

// Creates a companion settings database with tbl_setting rows (status, serversettings_info).
struct SettingRow {
    std::int32_t status = 0;
    QByteArray info;
};
void writeSettingsDatabase(const std::string& connectionString, const firebird::Login& login,
                           const std::vector<SettingRow>& rows);

// The companion's name: "Settings" inserted in front of the first ".norv"; empty without one.
QString settingsDatabaseName(const QString& systemFile);

// The demo pair written beside the program: out (demo.norv, the demo nodes with every optional
// column) and its settings database with both probe kinds in use.
void writeDemoSystemDatabases(const QString& out, std::uint64_t seed);

} // namespace vembra::sample
