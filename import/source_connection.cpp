#include "import/source_connection.h"

#include "app/dm/data_module.h"

namespace vembra {

PlatformAnswer QueryServerPlatform(TDM& dm, const QString& server, const QString& password)
{
    dm.srvProp.setServerName(server);
    dm.srvProp.setParams(
        {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=") + password});
    const firebird::ServerVersion v = dm.srvProp.fetchVersionInfo();
    return platformFromImplementation(QString::fromStdString(v.implementation),
                                      QString::fromStdString(v.version));
}

QString serverSourceName(const QString& server, const QString& path, std::uint8_t platform)
{
    QString p = path.trimmed();
    if (platform == kPlatformWindows)
        ToWindowsServerPath(p);
    else if (platform == kPlatformLinux)
        ToLinuxServerPath(p);
    return server.trimmed() + QLatin1Char(':') + p;
}

void ConnectSource(TDM& dm, const QString& name, SourceState& state)
{
    // The name is the source's whatever happens below.
    struct NameOnExit {
        SourceState& s;
        const QString& n;
        ~NameOnExit() { s.FSourceName = n; }
    } nameOnExit{state, name};

    dm.FDB.close();
    dm.FDB.setDBName(name);
    dm.FDB.open();
    if (!dm.FDB.connected()) {
        state.status1 = QStringLiteral("Error open Database!");
        return;
    }
    // Any engine that answers is connected, whatever platform its version names.
    const QString version = dm.FDB.firebirdVersion();
    if (!version.isEmpty())
        state.status1 = QStringLiteral("Database connected OK");
    dm.FDSet.close();
    dm.FDSet.open();
    if (!dm.FDSet.active()) {
        state.status2 = QStringLiteral("Error open DataSet!");
        return;
    }
    state.status2 = QStringLiteral("DataSet open OK");
    state.nodes = LoadSourceNodeList(dm);
    state.listed = true;
    state.HasJumperDistance =
        SourceColumnExists(dm, QStringLiteral("tbl_map"), QStringLiteral("jumper_distance"));
}

bool SourceColumnExists(TDM& dm, const QString& table, const QString& column)
{
    dm.Q1.close();
    dm.Q1.setSql(QStringLiteral("select RDB$FIELD_NAME from RDB$RELATION_FIELDS where "
                                "RDB$SYSTEM_FLAG = 0 and RDB$RELATION_NAME = '") +
                 table.toUpper() + QStringLiteral("'") +
                 QStringLiteral(" order by RDB$RELATION_NAME"));
    dm.Q1.prepare();
    dm.Q1.execQuery();
    const QString wanted = column.toUpper();
    for (; !dm.Q1.eof(); dm.Q1.next()) {
        if (dm.Q1.fieldAsString(QStringLiteral("RDB$FIELD_NAME")).trimmed().toUpper() == wanted)
            return true;
    }
    return false;
}

QStringList LoadSourceNodeList(TDM& dm)
{
    const QString sql =
        SourceColumnExists(dm, QStringLiteral("tbl_node"), QStringLiteral("vembraid"))
            ? QStringLiteral("select fullname from tbl_node order by vembraid")
            : QStringLiteral("select fullname from tbl_node order by id");
    dm.Q1.close();
    dm.Q1.setSql(sql);
    dm.Q1.prepare();
    dm.Q1.execQuery();
    QStringList items;
    for (; !dm.Q1.eof(); dm.Q1.next())
        items << QString::fromStdString(dm.Q1.statement().asText(0));
    return items;
}

void ConnectSettingsDatabase(TDM& dm, const QString& name)
{
    dm.SDB.close();
    dm.SDB.setDBName(name);
    dm.SDB.open();
    if (dm.SDB.connected())
        dm.STrans.startTransaction();
}

void CloseSettingsDatabase(TDM& dm)
{
    if (dm.SDB.connected()) {
        dm.sQ1.close();
        dm.STrans.closeStatements();
        dm.SDB.close();
    }
}

std::optional<SettingsFlags> ReadSourceSettings(TDM& dm)
{
    const QString settings = settingsDatabaseOf(dm.FDB.dbName());
    if (settings.isEmpty())
        return std::nullopt;
    struct CloseOnExit {
        TDM& d;
        ~CloseOnExit() { CloseSettingsDatabase(d); }
    } closeOnExit{dm};
    ConnectSettingsDatabase(dm, settings);
    dm.FTrans.startTransaction();
    dm.sQ1.close();
    dm.sQ1.setSql(QStringLiteral("select serversettings_info from tbl_setting where status = 0"));
    dm.sQ1.execQuery();
    if (dm.sQ1.eof())
        return std::nullopt;
    const std::vector<std::uint8_t> bytes =
        dm.sQ1.fieldAsBytes(QStringLiteral("serversettings_info"));
    return settingsFlags(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

} // namespace vembra
