// Tiny writers that build EMF and placeable WMF bytes record by record for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace vembra::test {

// Appends little-endian values to a byte vector.
class LittleEndianBytes {
public:
    void u8(std::uint8_t v) { m_bytes.push_back(v); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void bytes(std::span<const std::uint8_t> b)
    {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
    }
    void putU32At(std::size_t offset, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::vector<std::uint8_t>& data() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Builds an enhanced metafile: a header record, then records of 32-bit parameters.
class EmfWriter {
public:
    // Frame in 0.01 mm; reference device in pixels and millimetres.
    explicit EmfWriter(std::int32_t frameRight = 10000, std::int32_t frameBottom = 10000,
                       std::int32_t devPxW = 1000, std::int32_t devPxH = 1000,
                       std::int32_t devMmW = 100, std::int32_t devMmH = 100)
    {
        LittleEndianBytes& b = m_out;
        b.u32(1);   // EMR_HEADER
        b.u32(108); // header record size
        for (int i = 0; i < 4; ++i)
            b.i32(0); // bounds
        b.i32(0);
        b.i32(0);
        b.i32(frameRight);
        b.i32(frameBottom);
        b.u32(0x464D4520);
        b.u32(0x10000);
        b.u32(0); // nBytes, patched by bytes()
        b.u32(0); // nRecords
        b.u16(16);
        b.u16(0);
        b.u32(0);
        b.u32(0);
        b.u32(0);
        b.i32(devPxW);
        b.i32(devPxH);
        b.i32(devMmW);
        b.i32(devMmH);
        b.u32(0);
        b.u32(0);
        b.u32(0);
        b.u32(devMmW * 1000);
        b.u32(devMmH * 1000);
    }

    // A record of type with 32-bit parameters; its size is computed.
    EmfWriter& record(std::uint32_t type, std::initializer_list<std::int64_t> params)
    {
        m_out.u32(type);
        m_out.u32(static_cast<std::uint32_t>(8 + 4 * params.size()));
        for (const std::int64_t p : params)
            m_out.u32(static_cast<std::uint32_t>(p));
        ++m_records;
        return *this;
    }
    // A record with a size field that may lie, followed by the given parameters.
    EmfWriter& rawRecord(std::uint32_t type, std::uint32_t declaredSize,
                         std::initializer_list<std::int64_t> params)
    {
        m_out.u32(type);
        m_out.u32(declaredSize);
        for (const std::int64_t p : params)
            m_out.u32(static_cast<std::uint32_t>(p));
        ++m_records;
        return *this;
    }
    // A record whose body is given as bytes (padded to 4).
    EmfWriter& recordBytes(std::uint32_t type, std::vector<std::uint8_t> body)
    {
        while (body.size() % 4 != 0)
            body.push_back(0);
        m_out.u32(type);
        m_out.u32(static_cast<std::uint32_t>(8 + body.size()));
        m_out.bytes(body);
        ++m_records;
        return *this;
    }
    std::vector<std::uint8_t> bytes()
    {
        LittleEndianBytes copy = m_out;
        copy.u32(14); // EMR_EOF
        copy.u32(20);
        copy.u32(0);
        copy.u32(16);
        copy.u32(20);
        copy.putU32At(48, static_cast<std::uint32_t>(copy.data().size()));
        copy.putU32At(52, m_records + 2);
        return copy.data();
    }

private:
    LittleEndianBytes m_out;
    std::uint32_t m_records = 0;
};

// Builds a placeable WMF: the 22-byte header, the META header and 16-bit records.
class WmfWriter {
public:
    WmfWriter(std::int16_t right, std::int16_t bottom, std::uint16_t unitsPerInch,
              std::uint16_t objects = 8)
        : m_right(right), m_bottom(bottom), m_inch(unitsPerInch), m_objects(objects)
    {
    }
    WmfWriter& record(std::uint16_t function, std::initializer_list<std::int32_t> words)
    {
        m_records.u32(static_cast<std::uint32_t>(3 + words.size()));
        m_records.u16(function);
        for (const std::int32_t w : words)
            m_records.u16(static_cast<std::uint16_t>(w));
        return *this;
    }
    std::vector<std::uint8_t> bytes(bool validChecksum = true)
    {
        LittleEndianBytes b;
        b.u32(0x9AC6CDD7);
        b.u16(0);
        b.i16(0);
        b.i16(0);
        b.i16(m_right);
        b.i16(m_bottom);
        b.u16(m_inch);
        b.u32(0);
        std::uint16_t sum = 0;
        for (std::size_t i = 0; i < 20; i += 2)
            sum ^= static_cast<std::uint16_t>(b.data()[i] | b.data()[i + 1] << 8);
        b.u16(validChecksum ? sum : static_cast<std::uint16_t>(sum ^ 1));
        LittleEndianBytes records = m_records;
        records.u32(3);
        records.u16(0); // META_EOF
        b.u16(1);
        b.u16(9);
        b.u16(0x300);
        b.u32(static_cast<std::uint32_t>(9 + records.data().size() / 2));
        b.u16(m_objects);
        b.u32(0);
        b.u16(0);
        b.bytes(records.data());
        return b.data();
    }

private:
    std::int16_t m_right;
    std::int16_t m_bottom;
    std::uint16_t m_inch;
    std::uint16_t m_objects;
    LittleEndianBytes m_records;
};

} // namespace vembra::test
