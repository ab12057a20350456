// Bounded little-endian reading of metafile bytes: every read is checked against the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace vembra::metafile {

// Reads little-endian values from a byte range; a read past the end yields 0 and clears ok().
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t size() const { return m_bytes.size(); }
    std::size_t pos() const { return m_pos; }
    std::size_t remaining() const { return m_pos < m_bytes.size() ? m_bytes.size() - m_pos : 0; }
    bool ok() const { return m_ok; }
    std::span<const std::uint8_t> bytes() const { return m_bytes; }

    // Moves to an absolute offset; false (and not ok) when it lies past the end.
    bool seek(std::size_t offset)
    {
        if (offset > m_bytes.size()) {
            m_ok = false;
            return false;
        }
        m_pos = offset;
        return true;
    }
    bool skip(std::size_t count)
    {
        return seek(count > remaining() ? m_bytes.size() + 1 : m_pos + count);
    }

    // True when count bytes starting at offset lie inside the range (overflow-safe).
    bool contains(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    // The count bytes at offset, or an empty span (and not ok) when they do not fit.
    std::span<const std::uint8_t> sliceAt(std::uint64_t offset, std::uint64_t count)
    {
        if (!contains(offset, count)) {
            m_ok = false;
            return {};
        }
        return m_bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

    std::uint8_t u8() { return static_cast<std::uint8_t>(readLe(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(readLe(2)); }
    std::int16_t i16() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(readLe(2))); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(readLe(4)); }
    std::int32_t i32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(readLe(4))); }
    float f32()
    {
        const std::uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Little-endian values at an absolute offset without moving; 0 when out of range.
    std::uint32_t u32At(std::size_t offset) const
    {
        if (!contains(offset, 4))
            return 0;
        const std::uint8_t* p = m_bytes.data() + offset;
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    }
    std::int32_t i32At(std::size_t offset) const
    {
        return static_cast<std::int32_t>(u32At(offset));
    }
    std::uint16_t u16At(std::size_t offset) const
    {
        if (!contains(offset, 2))
            return 0;
        const std::uint8_t* p = m_bytes.data() + offset;
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }

private:
    std::uint64_t readLe(std::size_t count)
    {
        if (remaining() < count) {
            m_ok = false;
            m_pos = m_bytes.size();
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value |= std::uint64_t(m_bytes[m_pos + i]) << (8 * i);
        m_pos += count;
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

} // namespace vembra::metafile
