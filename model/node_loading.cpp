#include "model/node_loading.h"

#include "app/dm/local_components.h"
#include "localdb/local_statements.h"
#include "model/node_tree.h"

#include <cmath>

namespace vembra {

namespace {

std::int32_t roundHalfEven(double value)
{
    return static_cast<std::int32_t>(std::nearbyint(value));
}

} // namespace

double markerSizeFor(const MapGeometry& map)
{
    if (map.width == 0 && map.height == 0)
        return 0.0;
    return std::hypot(double(map.width), double(map.height)) * 1.25 * map.idSize;
}

void LoadNodeDevices(NodeModel& model, LocalQuery& query, std::int32_t nodeId,
                     const MapGeometry& map, bool hasFVexelColumn)
{
    const double markerSize = markerSizeFor(map);
    query.close();
    query.setSql(QString::fromLatin1(statements::kNodeDevices));
    query.prepare();
    query.setParam(QStringLiteral("nid"), nodeId);
    query.open();
    const QueryCloser closer(query);

    NodeDeviceList devices;
    devices.reserve(2000);
    TConnectionPoint fiberNode;
    bool hasFiberNode = false;
    const std::int32_t radius = roundHalfEven(markerSize);
    while (!query.eof()) {
        TFullDBDeviceListFromNode d;
        d.Id = query.fieldAsInteger(QStringLiteral("id"));
        d.NodeId = query.fieldAsInteger(QStringLiteral("node_id"));
        d.Code = query.fieldAsString(QStringLiteral("code")).left(kDeviceCodeLength);
        d.Delay = query.fieldAsFloat(QStringLiteral("delay"));
        d.XPage = query.fieldAsFloat(QStringLiteral("xpage"));
        d.YPage = query.fieldAsFloat(QStringLiteral("ypage"));
        d.IVexelId = query.fieldAsInteger(QStringLiteral("vexel_id"));
        d.FVexelId = hasFVexelColumn ? query.fieldAsInteger(QStringLiteral("fvexelid")) : 0;
        d.Parent = query.fieldAsInteger(QStringLiteral("parent"));
        auto& m = d.MapData;
        m.X = static_cast<float>(static_cast<long double>(map.width) * d.XPage);
        m.Y = static_cast<float>(static_cast<long double>(map.height) * d.YPage);
        m.ScreenX = m.X;
        m.ScreenY = m.Y;
        m.Radius = radius;
        m.Size = 2 * radius;
        m.ScreenRadius = m.Radius;
        m.ScreenSize = m.Size;
        if (d.Code.contains(QLatin1String("FN"))) {
            fiberNode.Code = d.Code;
            fiberNode.Delay = d.Delay;
            fiberNode.X = m.X;
            fiberNode.Y = m.Y;
            hasFiberNode = true;
        }
        devices.push_back(std::move(d));
        query.next();
    }
    devices.shrink_to_fit();
    DeriveNodeTree(devices);

    model.MarkerSize = markerSize;
    model.NodeDevices = std::move(devices);
    if (!model.NodeDevices.empty()) {
        // A node without a fiber node does not inherit the previous node's one.
        model.FiberNode = hasFiberNode ? fiberNode : TConnectionPoint{};
        model.CurrentDevice = model.FiberNode;
    }
}

void clearNodeDevices(NodeModel& model)
{
    model.NodeDevices.clear();
    model.NodeDevices.shrink_to_fit();
}

} // namespace vembra
