#include "import/node_transfer.h"

#include "app/dm/data_module.h"
#include "import/source_connection.h"
#include "localdb/local_statements.h"

#include <QByteArray>

namespace vembra {

namespace {

constexpr const char* kNodeSelectWithJumper =
    "select n.id, n.fullname, n.connectstr, m.map, m.jumper_distance from tbl_node n, tbl_map m "
    "where n.fullname = :nname and m.nodeid = n.id";
constexpr const char* kNodeSelect =
    "select n.id, n.fullname, n.connectstr, m.map from tbl_node n, tbl_map m "
    "where n.fullname = :nname and m.nodeid = n.id";

QString deviceSelect(const TransferColumns& c)
{
    return QStringLiteral("select d.id, d.nodeid, c.devicecode, d.parentdeviceid, d.workdelay, "
                          "d.xpage, d.ypage ") +
           (c.HasPimId ? QStringLiteral(", d.pimid ") : QString()) +
           (c.HasFVexelId ? QStringLiteral(", d.fvexelid ") : QString()) +
           QStringLiteral("from tbl_deviceinfo d, tbl_devicecode c where c.id = d.devicecode and "
                          "d.nodeid = :nid");
}

} // namespace

QString storedNodeName(const QString& name)
{
    return name.left(30);
}

TransferColumns probeTransferColumns(TDM& dm, bool hasJumperDistance)
{
    TransferColumns c;
    c.HasJumperDistance = hasJumperDistance;
    c.HasPimId = SourceColumnExists(dm, QStringLiteral("tbl_deviceinfo"), QStringLiteral("pimid"));
    c.HasFVexelId =
        SourceColumnExists(dm, QStringLiteral("tbl_deviceinfo"), QStringLiteral("FVexelID"));
    return c;
}

NodeOutcome transferNode(TDM& dm, int index, const QString& name, const TransferColumns& columns,
                         TransferObserver& observer)
{
    observer.nodeStarted(index, name);

    // The local statements share the connection of the file the components point at; the
    // transaction spans the replace, the node row and its device rows.
    const auto local = dm.connections.acquire(dm.AQ1.dataSource());
    sqlite::Transaction transaction(*local);

    // The local copy is looked up under the name as it is stored.
    const QString stored = storedNodeName(name);
    dm.AQ1.close();
    dm.AQ1.setSql(QString::fromLatin1(statements::kNodeIdByName));
    dm.AQ1.prepare();
    dm.AQ1.setParam(QStringLiteral("nn"), stored.toStdString());
    dm.AQ1.open();
    const bool hasLocalCopy = !dm.AQ1.eof() && !dm.AQ1.fieldIsNull(QStringLiteral("id")) &&
                              dm.AQ1.fieldAsInteger(QStringLiteral("id")) > 0;
    dm.AQ1.close();
    if (hasLocalCopy) {
        dm.AQ1.setSql(QString::fromLatin1(statements::kDeleteNodeByName));
        dm.AQ1.prepare();
        dm.AQ1.setParam(QStringLiteral("nn"), stored.toStdString());
        dm.AQ1.execSql();
    }

    dm.Q1.close();
    dm.Q1.setSql(
        QString::fromLatin1(columns.HasJumperDistance ? kNodeSelectWithJumper : kNodeSelect));
    dm.Q1.paramAsString(QStringLiteral("nname"), name);
    dm.Q1.prepare();
    dm.Q1.execQuery();
    const std::int32_t nodeId = dm.Q1.eof() ? 0 : dm.Q1.fieldAsInteger(QStringLiteral("id"));
    if (nodeId == 0)
        return NodeOutcome::NotInSource; // the transaction rolls back: the local copy stays

    const std::vector<std::uint8_t> map = dm.Q1.fieldAsBytes(QStringLiteral("map"));
    dm.AQ1.close();
    dm.AQ1.setSql(QString::fromLatin1(statements::kInsertNode));
    dm.AQ1.prepare();
    dm.AQ1.setParam(QStringLiteral("ni"), int(nodeId));
    dm.AQ1.setParam(QStringLiteral("nn"),
                    storedNodeName(dm.Q1.fieldAsString(QStringLiteral("fullname"))).toStdString());
    dm.AQ1.setParam(QStringLiteral("cn"),
                    int(ParseConnectNo(dm.Q1.fieldAsString(QStringLiteral("connectstr")))));
    dm.AQ1.setParam(
        QStringLiteral("is"),
        columns.HasJumperDistance ? dm.Q1.fieldAsFloat(QStringLiteral("jumper_distance")) : 0.005);
    dm.AQ1.setParam(QStringLiteral("map"),
                    QByteArray(reinterpret_cast<const char*>(map.data()), qsizetype(map.size())));
    dm.AQ1.execSql();

    dm.Q1.close();
    dm.Q1.setSql(deviceSelect(columns));
    dm.Q1.paramAsInteger(QStringLiteral("nid"), nodeId);
    dm.Q1.prepare();
    dm.Q1.execQuery();

    // The number of device rows, for the progress bar, before the rows are walked.
    const firebird::Statement& rows = dm.Q1.statement();
    {
        SystemQuery count(dm.FDB, dm.FTrans,
                          QStringLiteral("select count(*) from tbl_deviceinfo d, tbl_devicecode c "
                                         "where c.id = d.devicecode and d.nodeid = :nid"));
        count.paramAsInteger(QStringLiteral("nid"), nodeId);
        count.execQuery();
        observer.deviceCountKnown(count.eof() ? 0 : count.statement().asInt32(0));
    }

    if (!rows.eof()) {
        dm.AQ1.close();
        dm.AQ1.setSql(QString::fromLatin1(statements::kInsertDevice));
        dm.AQ1.prepare();
        const int cId = rows.columnIndex("id");
        const int cCode = rows.columnIndex("devicecode");
        const int cParent = rows.columnIndex("parentdeviceid");
        const int cDelay = rows.columnIndex("workdelay");
        const int cX = rows.columnIndex("xpage");
        const int cY = rows.columnIndex("ypage");
        const int cPim = columns.HasPimId ? rows.columnIndex("pimid") : -1;
        const int cFs = columns.HasFVexelId ? rows.columnIndex("fvexelid") : -1;
        for (; !dm.Q1.eof(); dm.Q1.next()) {
            dm.AQ1.setParam(QStringLiteral("di"), int(rows.asInt32(cId)));
            dm.AQ1.setParam(QStringLiteral("ni"), int(nodeId));
            dm.AQ1.setParam(QStringLiteral("dc"), rows.asText(cCode));
            dm.AQ1.setParam(QStringLiteral("pd"), int(rows.asInt32(cParent)));
            dm.AQ1.setParam(QStringLiteral("wd"), rows.asDouble(cDelay));
            dm.AQ1.setParam(QStringLiteral("xp"), rows.asDouble(cX));
            dm.AQ1.setParam(QStringLiteral("yp"), rows.asDouble(cY));
            dm.AQ1.setParam(QStringLiteral("pi"),
                            cPim >= 0 && !rows.isNull(cPim) ? int(rows.asInt16(cPim)) : 0);
            dm.AQ1.setParam(QStringLiteral("fs"),
                            cFs >= 0 && !rows.isNull(cFs) ? int(rows.asInt32(cFs)) : 0);
            dm.AQ1.execSql();
            if (!observer.deviceWritten())
                return NodeOutcome::Broken; // rolled back: the node stays as it was
        }
    }
    dm.Q1.close();
    dm.AQ1.close();
    transaction.commit();
    return NodeOutcome::Written;
}

} // namespace vembra
