#pragma once

#include "tools/sample/plant.h"

#include <QByteArray>

namespace vembra::sample {

// Draws a node's map as an enhanced metafile: street blocks with their names, the cable routes
// along the parent links (trunk thicker than feeders), device symbols and their codes.
QByteArray drawNodeMap(const std::vector<PlantDevice>& devices, int width, int height,
                       std::uint64_t seed);

// Our own pin, standing on its lower-left corner: a 67 x 72 pixel metafile.
QByteArray drawPin();

// A zlib stream of the bytes (the stored form of a map).
QByteArray zlibCompress(const QByteArray& bytes);

} // namespace vembra::sample
