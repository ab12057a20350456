#pragma once

#include "app/dm/local_components.h"
#include "app/dm/passwords.h"
#include "app/dm/system_components.h"

#include <QString>

namespace vembra {

// The data module: owns every database component of the program. The local components work on
// one working database file together; several of them share one SQLite connection per file.
class TDM {
public:
    TDM();
    ~TDM();

    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Builds the passwords and points the local components at the default database
    // <appDataDir>Norv<sep>VembraNavigator<sep>_data.mdb. Opens nothing.
    void DataModuleCreate(const QString& appDataDir);

    // Points the five local components at the file, in the order close T1, T2; cancel Cmd1;
    // close AQ1, aQ2; set the connection strings; open T1, then T2.
    void pointLocalComponentsAt(const QString& path);

    // Closes every local component and lets go of every local file (before the file is replaced).
    void releaseLocalFiles();

    // The file the local components point at.
    QString localDataSource() const { return T1.dataSource(); }
    QString localPassword() const;
    QString systemPassword() const;
    static QString defaultDatabasePath(const QString& appDataDir);

    LocalConnections connections;
    LocalTable T1;
    LocalTable T2;
    LocalDataSource DS1;
    LocalCommand Cmd1;
    LocalQuery AQ1;
    LocalQuery aQ2;

    // The system database and its companion settings database (Firebird).
    SystemDatabase FDB;
    SystemTransaction FTrans{FDB};
    SystemQuery FDSet{FDB, FTrans, QString::fromLatin1(kFDSetSelect)};
    SystemQuery Q1{FDB, FTrans};
    SystemDatabase SDB;
    SystemTransaction STrans{SDB};
    SystemQuery sQ1{SDB, STrans};
    ServerProperties srvProp;

    // The select of FDSet, opened once after connecting as a test of the source.
    static constexpr const char* kFDSetSelect =
        "select n.id, n.fullname, n.connectstr, m.map from tbl_node n, tbl_map m "
        "where n.fullname = :nname and m.nodeid = n.id";

    // Detail link of T2 on T1 through DS1.
    static constexpr const char* kT2IndexField = "Node_ID";
    static constexpr const char* kT2MasterField = "ID";

private:
    void setLocalConnection(const QString& path);

    LocalPasswordBuffer m_localPassword{};
    SystemPasswordBuffer m_systemPassword{};
};

// The one data module of the process, created at start-up.
extern TDM* DM;

} // namespace vembra
