#pragma once

#include "tools/sample/plant.h"

#include <QString>

#include <optional>
#include <vector>

namespace vembra::sample {

// What a node's stored map holds.
enum class MapState { Drawing, Empty, NotZlib };

// One node to generate.
struct SampleNode {
    QString name;
    std::int32_t id = 0;
    std::int32_t connectNo = 0;
    PlantOptions plant;
    std::optional<double> idSize = 0.005; // none: NULL
    MapState map = MapState::Drawing;
};

// The demo set: a handful of nodes of 200 to 3 000 devices with the oddities real data has.
std::vector<SampleNode> demoNodes(std::uint64_t seed);

// Nodes of the given size, for tests and benchmarks.
std::vector<SampleNode> sizedNodes(int nodes, int devicesPerNode, std::uint64_t seed);

// Writes a new working database at out (copied from the template) holding the nodes. The same
// nodes give the same bytes. Fails when out exists.
void writeSampleDatabase(const QString& templatePath, const QString& out,
                         const std::vector<SampleNode>& nodes);

} // namespace vembra::sample
