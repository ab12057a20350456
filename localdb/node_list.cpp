#include "localdb/node_list.h"

#include "app/dm/local_components.h"
#include "localdb/local_statements.h"

namespace vembra {

namespace {

bool countAbove0(LocalQuery& query, const char* sql, std::int32_t nodeId)
{
    query.close();
    query.setSql(QString::fromLatin1(sql));
    query.prepare();
    query.setParam(QStringLiteral("nid"), nodeId);
    query.open();
    const QueryCloser closer(query);
    return !query.eof() && query.firstColumnAsInteger() > 0;
}

} // namespace

void readNodeList(LocalQuery& listQuery, LocalQuery& countQuery, bool hasFVexelColumn,
                  const std::function<void(const TNodeListEntry&)>& onEntry)
{
    listQuery.close();
    listQuery.setSql(QString::fromLatin1(statements::kNodeList));
    listQuery.prepare();
    listQuery.open();
    const QueryCloser closer(listQuery);
    while (!listQuery.eof()) {
        TNodeListEntry entry;
        entry.Id = listQuery.fieldAsInteger(QStringLiteral("id"));
        entry.FullName = listQuery.fieldAsString(QStringLiteral("node"));
        entry.Node = entry.FullName.left(kNodeNameLength);
        entry.ConnectNo = listQuery.fieldAsInteger(QStringLiteral("connectno"));
        entry.IVexelProbes = countAbove0(countQuery, statements::kCountIVexel, entry.Id);
        entry.FVexelProbes =
            hasFVexelColumn && countAbove0(countQuery, statements::kCountFVexel, entry.Id);
        onEntry(entry);
        listQuery.next();
    }
}

std::int32_t NodeIdByName(const TNodeList& list, const QString& name)
{
    for (const auto& entry : list) {
        if (entry.FullName == name)
            return entry.Id;
    }
    return 0;
}

QString ConnectNoOfNode(const TNodeList& list, std::int32_t id)
{
    for (const auto& entry : list) {
        if (entry.Id == id)
            return QString::number(entry.ConnectNo);
    }
    return {};
}

QString nodeListLabel(int count)
{
    return count > 0 ? QStringLiteral("1. Select NODE [%1]").arg(count)
                     : QStringLiteral("1. Select NODE");
}

} // namespace vembra
