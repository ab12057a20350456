#pragma once

#include "model/node_records.h"

#include <unordered_map>

namespace vembra {

// Index of the first device (lowest index) with that id; -1 when there is none.
class DeviceIdIndex {
public:
    explicit DeviceIdIndex(const NodeDeviceList& devices);
    std::int32_t IndexOfDeviceId(std::int32_t id) const;

private:
    std::unordered_map<std::int32_t, std::int32_t> m_lowest;
};

// Links every device to the first device carrying its parent id. A loop in the parent links is
// broken: walking up from each device in index order, the link that leads back into the walk is
// cut and the device it starts from becomes a root. Children lists are ascending.
void LinkChildren(NodeDeviceList& devices, const DeviceIdIndex& ids);
// The subtree below every device, in depth-first pre-order, without the device itself.
void BuildDescendants(NodeDeviceList& devices, const DeviceIdIndex& ids);
// Parent, parent's parent and so on up to the root, nearest first.
void BuildAncestors(NodeDeviceList& devices);
// The probe id found upstream of every device (see the navigator's rules: a device that carries
// a probe keeps its own id when a later device reaches it as its nearest probe above).
void PropagateIVexel(NodeDeviceList& devices);
void PropagateFVexel(NodeDeviceList& devices);

// The four passes in their order.
void DeriveNodeTree(NodeDeviceList& devices);

} // namespace vembra
