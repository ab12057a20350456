#include "platform/metafile/dib.h"

#include "platform/metafile/byte_reader.h"

#include <QColor>

#include <bit>
#include <vector>

namespace vembra::metafile {

namespace {

constexpr std::uint32_t biRgb = 0, biRle8 = 1, biRle4 = 2, biBitfields = 3;

struct DibHeader {
    std::int64_t width = 0;
    std::int64_t height = 0; // positive, with bottomUp telling the row order
    bool bottomUp = true;
    int bitCount = 0;
    std::uint32_t compression = biRgb;
    std::uint32_t colorsUsed = 0;
    std::uint32_t headerSize = 0;
    bool core = false;
    std::uint32_t masks[3] = {0, 0, 0};
    std::size_t paletteOffset = 0;
};

bool readHeader(ByteReader& r, DibHeader& h)
{
    h.headerSize = r.u32();
    if (h.headerSize == 12) {
        h.core = true;
        h.width = r.u16();
        h.height = r.u16();
        r.u16();
        h.bitCount = r.u16();
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        h.width = r.i32();
        const std::int32_t height = r.i32();
        h.bottomUp = height > 0;
        h.height = height < 0 ? -std::int64_t(height) : height;
        r.u16();
        h.bitCount = r.u16();
        h.compression = r.u32();
        r.u32(); // image size
        r.u32();
        r.u32();
        h.colorsUsed = r.u32();
        r.u32();
        if (h.compression == biBitfields) {
            // Masks follow a 40-byte header and sit inside larger ones at the same place.
            r.seek(40);
            h.masks[0] = r.u32();
            h.masks[1] = r.u32();
            h.masks[2] = r.u32();
        }
    } else {
        return false;
    }
    h.paletteOffset = h.headerSize + (h.compression == biBitfields && h.headerSize == 40 ? 12 : 0);
    if (!r.ok() || h.width <= 0 || h.height <= 0 || h.width * h.height > maxDibPixels)
        return false;
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

std::uint32_t paletteCount(const DibHeader& h)
{
    if (h.bitCount > 8)
        return h.core ? 0 : std::min<std::uint32_t>(h.colorsUsed, 256);
    const std::uint32_t full = 1u << h.bitCount;
    return h.colorsUsed == 0 || h.colorsUsed > full ? full : h.colorsUsed;
}

std::vector<QRgb> readPalette(std::span<const std::uint8_t> info, const DibHeader& h,
                              std::uint32_t usage)
{
    std::vector<QRgb> palette;
    if (h.bitCount > 8)
        return palette;
    const std::uint32_t count = paletteCount(h);
    const std::size_t entry = usage == 1 ? 2 : (h.core ? 3 : 4);
    palette.resize(std::size_t(1) << h.bitCount, qRgb(0, 0, 0));
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = h.paletteOffset + i * entry;
        if (at + entry > info.size())
            break;
        if (usage == 1) {
            // Indexes into a logical palette we do not keep: a grey ramp keeps shapes visible.
            const int v =
                (info[at] | info[at + 1] << 8) * 255 / std::max<std::uint32_t>(1, count - 1);
            palette[i] = qRgb(v & 0xFF, v & 0xFF, v & 0xFF);
        } else {
            palette[i] = qRgb(info[at + 2], info[at + 1], info[at]);
        }
    }
    if (h.bitCount == 1 && count == 0) {
        palette[0] = qRgb(0, 0, 0);
        palette[1] = qRgb(255, 255, 255);
    }
    return palette;
}

// Scales a bit field to 8 bits.
int channel(std::uint32_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t v = (value & mask) >> shift;
    const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return static_cast<int>(std::uint64_t(v) * 255 / max);
}

// Expands RLE8/RLE4 data into one index per pixel (rows bottom-up as stored).
bool decodeRle(std::span<const std::uint8_t> bits, const DibHeader& h,
               std::vector<std::uint8_t>& out)
{
    const std::int64_t w = h.width;
    const std::int64_t hh = h.height;
    out.assign(std::size_t(w * hh), 0);
    const bool four = h.compression == biRle4;
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::size_t i = 0;
    const auto put = [&](std::uint8_t index) {
        if (x < w && y < hh)
            out[std::size_t(y * w + x)] = index;
        ++x;
    };
    while (i + 1 < bits.size()) {
        const std::uint8_t count = bits[i];
        const std::uint8_t value = bits[i + 1];
        i += 2;
        if (count > 0) {
            for (int n = 0; n < count; ++n)
                put(four ? ((n % 2 == 0) ? value >> 4 : value & 0x0F) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (i + 1 >= bits.size())
                break;
            x += bits[i];
            y += bits[i + 1];
            i += 2;
        } else { // absolute run
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (i + bytes > bits.size())
                break;
            for (int n = 0; n < value; ++n) {
                const std::uint8_t b = bits[i + (four ? n / 2 : n)];
                put(four ? ((n % 2 == 0) ? b >> 4 : b & 0x0F) : b);
            }
            i += (bytes + 1) & ~std::size_t(1);
        }
        if (y >= hh)
            break;
    }
    return true;
}

} // namespace

DecodedDib decodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                     std::uint32_t usage)
{
    DecodedDib result;
    ByteReader r(info);
    DibHeader h;
    if (!readHeader(r, h))
        return result;
    result.bottomUp = h.bottomUp;
    const std::vector<QRgb> palette = readPalette(info, h, usage);
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return result;

    const auto targetRow = [&](std::int64_t storedRow) {
        return reinterpret_cast<QRgb*>(
            image.scanLine(static_cast<int>(h.bottomUp ? height - 1 - storedRow : storedRow)));
    };

    if (h.compression == biRle8 || h.compression == biRle4) {
        if ((h.compression == biRle8 && h.bitCount != 8) ||
            (h.compression == biRle4 && h.bitCount != 4))
            return result;
        std::vector<std::uint8_t> indexes;
        decodeRle(bits, h, indexes);
        for (std::int64_t y = 0; y < h.height; ++y) {
            QRgb* row = targetRow(y);
            for (std::int64_t x = 0; x < h.width; ++x)
                row[x] = palette[indexes[std::size_t(y * h.width + x)] % palette.size()];
        }
        result.image = image;
        return result;
    }
    if (h.compression != biRgb && h.compression != biBitfields)
        return result;

    const std::int64_t stride = ((h.width * h.bitCount + 31) / 32) * 4;
    if (stride * h.height > std::int64_t(bits.size()))
        return result;
    std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (h.compression != biBitfields) {
        if (h.bitCount == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0xFF0000;
            masks[1] = 0x00FF00;
            masks[2] = 0x0000FF;
        }
    }
    for (std::int64_t y = 0; y < h.height; ++y) {
        const std::uint8_t* src = bits.data() + y * stride;
        QRgb* row = targetRow(y);
        for (std::int64_t x = 0; x < h.width; ++x) {
            switch (h.bitCount) {
            case 1:
                row[x] = palette[(src[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                row[x] = palette[(src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                break;
            case 8:
                row[x] = palette[src[x]];
                break;
            case 16: {
                const std::uint32_t v = src[2 * x] | src[2 * x + 1] << 8;
                row[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            case 24:
                row[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default: {
                const std::uint8_t* p = src + 4 * x;
                const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                        std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
                row[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            }
        }
    }
    result.image = image;
    return result;
}

DecodedDib decodePackedDib(std::span<const std::uint8_t> packed, std::uint32_t usage)
{
    ByteReader r(packed);
    DibHeader h;
    if (!readHeader(r, h))
        return {};
    const std::size_t entry = usage == 1 ? 2 : (h.core ? 3 : 4);
    const std::size_t infoSize = h.paletteOffset + std::size_t(paletteCount(h)) * entry;
    if (infoSize > packed.size())
        return {};
    return decodeDib(packed.first(infoSize), packed.subspan(infoSize), usage);
}

} // namespace vembra::metafile
