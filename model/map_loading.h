#pragma once

#include <cstdint>

namespace vembra {

class LocalQuery;
namespace metafile {
class Picture;
}

// The marker size a node gets when its stored one is out of range.
inline constexpr double kDefaultIdSize = 0.005;

// The range rule of a stored marker size: at most 0.000001, or 1.0 and more, give 0.005.
double idSizeInRange(double stored);

// Reads the node's map and marker size through the query: the map blob is inflated in one
// piece and loaded into the picture. Returns the marker size after the range rule; mapLoaded
// tells whether the picture now holds the node's drawing. An inflate error is thrown with zlib's
// own text; bytes that inflate but are no map leave the picture empty without an error.
struct NodeMapResult {
    double idSize = kDefaultIdSize;
    bool mapLoaded = false;
};
NodeMapResult LoadNodeMap(LocalQuery& query, std::int32_t nodeId, metafile::Picture& map);

} // namespace vembra
