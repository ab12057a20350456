// Recognising map pictures in a blob and working out their size in pixels.
#pragma once

#include <QRectF>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <span>

namespace vembra::metafile {

// What a blob holds.
enum class BlobFormat { None, Emf, PlaceableWmf };

// The outcome of inspecting a blob: its format, the bytes that make the metafile, its size in
// pixels and the picture rectangle in the metafile's device units.
struct BlobInfo {
    BlobFormat format = BlobFormat::None;
    std::size_t length = 0; // EMF: nBytes; WMF: the whole blob
    QSize size;             // pixels
    QRectF deviceRect;      // EMF: frame in reference pixels; WMF: placeable bounding box
    double pixelsPerMmX = 96 / 25.4;
    double pixelsPerMmY = 96 / 25.4;
};

// Applies the blob rules (EMF first, then placeable WMF); a placeable WMF's size is converted
// at dpi dots per inch.
BlobInfo inspectBlob(std::span<const std::uint8_t> bytes, double dpi = 96.0);

// round(numerator / denominator) with ties to even, exact in 64-bit integers.
std::int64_t roundedQuotient(std::int64_t numerator, std::int64_t denominator);

} // namespace vembra::metafile
