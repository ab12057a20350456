#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace vembra {

// Indexes into the node's device list.
using TChildIndexes = std::vector<std::int32_t>;

// A point of a drawn path, in map pixels.
struct TCPDPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
};
using TCPDPath = std::vector<TCPDPoint>;

// A device's geometry on the map: at scale 1, on screen, and its marker size.
struct TMapDeviceData {
    float X = 0;
    float Y = 0;
    float ScreenX = 0;
    float ScreenY = 0;
    std::int32_t Radius = 0;
    std::int32_t Size = 0;
    std::int32_t ScreenRadius = 0;
    std::int32_t ScreenSize = 0;
    TCPDPath Path;
    TCPDPath ScreenPath;
};

// Longest code a device keeps.
inline constexpr int kDeviceCodeLength = 15;

// One device of the loaded node with its place in the node's tree.
struct TFullDBDeviceListFromNode {
    std::int32_t Id = 0;
    std::int32_t NodeId = 0;
    QString Code; // at most kDeviceCodeLength characters
    std::int32_t Parent = 0;
    std::int32_t ParentIndex = -1;
    double Delay = 0;
    double XPage = 0;
    double YPage = 0;
    std::int32_t IVexelId = 0;
    std::int32_t UpIVexelId = 0;
    std::int32_t FVexelId = 0;
    std::int32_t UpFVexelId = 0;
    bool Selected = false;
    TChildIndexes Children;
    TChildIndexes Descendants;
    TChildIndexes Ancestors;
    TMapDeviceData MapData;
    bool Candidate = false;
    std::uint8_t Mark = 0;
};

// A connection point: the current device, or the node's fiber node.
struct TConnectionPoint {
    std::int32_t Index = 0;
    QString Code;
    double Delay = 0;
    float X = 0;
    float Y = 0;
};

using NodeDeviceList = std::vector<TFullDBDeviceListFromNode>;

} // namespace vembra
