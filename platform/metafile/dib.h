// Decoding of device-independent bitmaps (DIBs) found in metafile records.
#pragma once

#include <QImage>

#include <cstdint>
#include <span>

namespace vembra::metafile {

// Largest bitmap decoded, in pixels; larger ones are refused so bad bytes cannot exhaust memory.
constexpr std::int64_t maxDibPixels = std::int64_t{32} * 1024 * 1024;

// A decoded bitmap: the image top row first, and whether the DIB stored it bottom-up (source
// rectangles of bottom-up DIBs count rows from the bottom).
struct DecodedDib {
    QImage image;
    bool bottomUp = true;
};

// Decodes a DIB from its BITMAPINFO (header and colour table) and its pixel bits. usage is
// DIB_RGB_COLORS (0) or DIB_PAL_COLORS (1). A null image when anything is out of range.
DecodedDib decodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                     std::uint32_t usage = 0);

// Decodes a packed DIB (BITMAPINFO immediately followed by the bits), as WMF records hold them.
DecodedDib decodePackedDib(std::span<const std::uint8_t> packed, std::uint32_t usage = 0);

} // namespace vembra::metafile
