#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace vembra::sample {

// The kinds of device a node's plant has.
enum class DeviceKind {
    FiberNode,
    Amplifier,
    Coupler,
    Splitter,
    Tap,
    Terminator,
    Splice,
    Equaliser,
    PowerInserter
};

// One device of a generated plant, as a working database stores it.
struct PlantDevice {
    std::int32_t id = 0;
    std::int32_t parent = 0; // id of the device upstream; 0 for the fiber node
    QString code;
    DeviceKind kind = DeviceKind::Tap;
    double delay = 0; // µs from the node
    double xpage = 0; // fractions of the map
    double ypage = 0;
    std::int32_t iVexel = 0;
    std::int32_t fVexel = 0;
    bool trunk = false; // on the trunk cascade (drawn thicker)
};

// What to generate for one node.
struct PlantOptions {
    std::uint64_t seed = 1;
    int devices = 500;        // exactly this many devices
    std::int32_t firstId = 1; // ids run upward from here
    int mapWidth = 1600;      // the map's size in pixels
    int mapHeight = 1200;
    bool iVexelProbes = true;
    bool fVexelProbes = true;
    bool irregularCodes = false; // the odd codes real data has
    bool duplicateCode = false;  // two devices sharing a code
};

// Coax delay per metre at velocity factor 0.87, in µs.
inline constexpr double kCoaxDelayPerMetre = 0.0038;
// Map scale: metres per pixel of the map.
inline constexpr double kMetresPerPixel = 1.25;

// A deterministic plant: the same options give the same devices on every machine.
std::vector<PlantDevice> generatePlant(const PlantOptions& options);

// The type code of a kind ("FN", "AM", ...).
QString typeCode(DeviceKind kind);

} // namespace vembra::sample
