#pragma once

#include <QString>

#include <cstdint>

namespace vembra {

class TDM;

// Which optional source columns the transfer reads.
struct TransferColumns {
    bool HasJumperDistance = false;
    bool HasPimId = false;
    bool HasFVexelId = false;
};

// Probes pimid and FVexelID of the source's tbl_deviceinfo (once per transfer).
TransferColumns probeTransferColumns(TDM& dm, bool hasJumperDistance);

// Told of a node's progress; deviceWritten() returning false breaks the transfer off.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    virtual void nodeStarted(int index, const QString& name) = 0;
    virtual void deviceCountKnown(int count) = 0;
    virtual bool deviceWritten() = 0;
};

// How one node's transfer ended.
enum class NodeOutcome { Written, NotInSource, Broken };

// Copies one node with its map and devices from the source (FDB, Q1) into the working database
// the local components point at (AQ1). The node is written in one local transaction: after a
// break, an error or a crash it is either wholly old or wholly new; a node that the source does
// not have keeps its local copy.
NodeOutcome transferNode(TDM& dm, int index, const QString& name, const TransferColumns& columns,
                         TransferObserver& observer);

// The node's name as the working database stores it: its first 30 characters.
QString storedNodeName(const QString& name);

} // namespace vembra
