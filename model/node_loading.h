#pragma once

#include "model/node_records.h"

namespace vembra {

class LocalQuery;

// The loaded node: its devices, its fiber node, the current device and the marker size.
struct NodeModel {
    NodeDeviceList NodeDevices;
    TConnectionPoint CurrentDevice;
    TConnectionPoint FiberNode;
    double MarkerSize = 0;
};

// What a node's device rows are placed on: the size of its map and its relative marker size.
struct MapGeometry {
    std::int32_t width = 0;
    std::int32_t height = 0;
    double idSize = 0;
};

// The marker radius in map pixels: 1.25 × idSize × the map's diagonal.
double markerSizeFor(const MapGeometry& map);

// Replaces the model by the devices of the node, read through the query in id order, and derives
// the tree. When the query fails the previous model stays as it was.
void LoadNodeDevices(NodeModel& model, LocalQuery& query, std::int32_t nodeId,
                     const MapGeometry& map, bool hasFVexelColumn);

// Empties the model (another working database, or after an import).
void clearNodeDevices(NodeModel& model);

} // namespace vembra
