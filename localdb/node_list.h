#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace vembra {

class LocalQuery;

// Longest node name the list keeps.
inline constexpr int kNodeNameLength = 30;

// One node of the open working database, in connection-number order.
struct TNodeListEntry {
    std::int32_t Id = 0;
    QString Node; // at most kNodeNameLength characters
    std::int32_t ConnectNo = 0;
    bool IVexelProbes = false;
    bool FVexelProbes = false;
    QString FullName; // the whole stored name, as the node list shows it
};

using TNodeList = std::vector<TNodeListEntry>;

// Reads the node list through the first query and counts each node's probes through the second.
// Every entry is handed to onEntry as soon as it is read, so a failure part-way keeps the entries
// read before it.
void readNodeList(LocalQuery& listQuery, LocalQuery& countQuery, bool hasFVexelColumn,
                  const std::function<void(const TNodeListEntry&)>& onEntry);

// The id of the first node whose name equals the text; 0 when there is none. The whole stored
// name counts, so nodes whose names share their first 30 characters stay apart.
std::int32_t NodeIdByName(const TNodeList& list, const QString& name);

// The connection number of the first node with that id as decimal text; empty when there is none.
QString ConnectNoOfNode(const TNodeList& list, std::int32_t id);

// The caption above the node list: "1. Select NODE [n]", or "1. Select NODE" for none.
QString nodeListLabel(int count);

} // namespace vembra
