#include "model/node_tree.h"

namespace vembra {

namespace {

// Devices in an order where every parent comes before its children (roots first, breadth-first).
std::vector<std::int32_t> parentsFirst(const NodeDeviceList& devices)
{
    std::vector<std::int32_t> order;
    order.reserve(devices.size());
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].ParentIndex < 0)
            order.push_back(static_cast<std::int32_t>(i));
    }
    for (std::size_t head = 0; head < order.size(); ++head) {
        for (const std::int32_t child : devices[static_cast<std::size_t>(order[head])].Children)
            order.push_back(child);
    }
    return order;
}

template <typename ProbeOf, typename SetUp>
void propagateProbe(NodeDeviceList& devices, ProbeOf probeOf, SetUp setUp)
{
    const std::size_t n = devices.size();
    // nearest[i]: the nearest device strictly above i that carries a probe, -1 for none.
    std::vector<std::int32_t> nearest(n, -1);
    for (const std::int32_t i : parentsFirst(devices)) {
        const std::int32_t p = devices[static_cast<std::size_t>(i)].ParentIndex;
        if (p >= 0) {
            nearest[static_cast<std::size_t>(i)] = probeOf(devices[static_cast<std::size_t>(p)]) > 0
                                                       ? p
                                                       : nearest[static_cast<std::size_t>(p)];
        }
    }
    // Each device in index order takes the probe above it; a probe-carrying device that a later
    // device reaches as its nearest probe takes its own id back.
    std::vector<std::int32_t> lastReacher(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        if (nearest[i] >= 0)
            lastReacher[static_cast<std::size_t>(nearest[i])] = static_cast<std::int32_t>(i);
    }
    for (std::size_t i = 0; i < n; ++i) {
        auto& d = devices[i];
        const bool reachedLater = lastReacher[i] > static_cast<std::int32_t>(i);
        if (probeOf(d) > 0 && reachedLater)
            setUp(d, probeOf(d));
        else
            setUp(d, nearest[i] >= 0 ? probeOf(devices[static_cast<std::size_t>(nearest[i])]) : 0);
    }
}

} // namespace

DeviceIdIndex::DeviceIdIndex(const NodeDeviceList& devices)
{
    m_lowest.reserve(devices.size());
    for (std::size_t i = 0; i < devices.size(); ++i)
        m_lowest.try_emplace(devices[i].Id, static_cast<std::int32_t>(i));
}

std::int32_t DeviceIdIndex::IndexOfDeviceId(std::int32_t id) const
{
    const auto it = m_lowest.find(id);
    return it == m_lowest.end() ? -1 : it->second;
}

void LinkChildren(NodeDeviceList& devices, const DeviceIdIndex& ids)
{
    const std::size_t n = devices.size();
    for (auto& d : devices) {
        d.ParentIndex = ids.IndexOfDeviceId(d.Parent);
        d.Children.clear();
    }
    // Break loops: 0 not seen, 1 on the current walk, 2 done.
    std::vector<std::uint8_t> state(n, 0);
    std::vector<std::int32_t> walk;
    for (std::size_t start = 0; start < n; ++start) {
        if (state[start] != 0)
            continue;
        walk.clear();
        std::int32_t v = static_cast<std::int32_t>(start);
        while (v >= 0 && state[static_cast<std::size_t>(v)] == 0) {
            state[static_cast<std::size_t>(v)] = 1;
            walk.push_back(v);
            v = devices[static_cast<std::size_t>(v)].ParentIndex;
        }
        if (v >= 0 && state[static_cast<std::size_t>(v)] == 1)
            devices[static_cast<std::size_t>(walk.back())].ParentIndex = -1;
        for (const std::int32_t w : walk)
            state[static_cast<std::size_t>(w)] = 2;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t p = devices[i].ParentIndex;
        if (p >= 0)
            devices[static_cast<std::size_t>(p)].Children.push_back(static_cast<std::int32_t>(i));
    }
}

void BuildDescendants(NodeDeviceList& devices, const DeviceIdIndex& ids)
{
    const std::vector<std::int32_t> order = parentsFirst(devices);
    // Children before parents: each list is its children, each followed by that child's list.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        auto& d = devices[static_cast<std::size_t>(*it)];
        std::size_t size = 0;
        for (const std::int32_t c : d.Children)
            size += 1 + devices[static_cast<std::size_t>(c)].Descendants.size();
        d.Descendants.clear();
        d.Descendants.reserve(size);
        for (const std::int32_t c : d.Children) {
            d.Descendants.push_back(c);
            const auto& below = devices[static_cast<std::size_t>(c)].Descendants;
            d.Descendants.insert(d.Descendants.end(), below.begin(), below.end());
        }
    }
    // A device whose id an earlier device carries too gets that device's subtree.
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const std::int32_t first = ids.IndexOfDeviceId(devices[i].Id);
        if (first >= 0 && static_cast<std::size_t>(first) != i)
            devices[i].Descendants = devices[static_cast<std::size_t>(first)].Descendants;
    }
}

void BuildAncestors(NodeDeviceList& devices)
{
    for (const std::int32_t i : parentsFirst(devices)) {
        auto& d = devices[static_cast<std::size_t>(i)];
        d.Ancestors.clear();
        if (d.ParentIndex < 0)
            continue;
        const auto& above = devices[static_cast<std::size_t>(d.ParentIndex)].Ancestors;
        d.Ancestors.reserve(above.size() + 1);
        d.Ancestors.push_back(d.ParentIndex);
        d.Ancestors.insert(d.Ancestors.end(), above.begin(), above.end());
    }
}

void PropagateIVexel(NodeDeviceList& devices)
{
    propagateProbe(
        devices, [](const TFullDBDeviceListFromNode& d) { return d.IVexelId; },
        [](TFullDBDeviceListFromNode& d, std::int32_t id) { d.UpIVexelId = id; });
}

void PropagateFVexel(NodeDeviceList& devices)
{
    propagateProbe(
        devices, [](const TFullDBDeviceListFromNode& d) { return d.FVexelId; },
        [](TFullDBDeviceListFromNode& d, std::int32_t id) { d.UpFVexelId = id; });
}

void DeriveNodeTree(NodeDeviceList& devices)
{
    const DeviceIdIndex ids(devices);
    LinkChildren(devices, ids);
    BuildDescendants(devices, ids);
    BuildAncestors(devices);
    PropagateIVexel(devices);
    PropagateFVexel(devices);
}

} // namespace vembra
