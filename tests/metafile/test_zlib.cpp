// Inflating zlib streams: round trips, zlib's error texts, trailing bytes and truncation.
#include "platform/zlib/zlib_inflate.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes compressed(const Bytes& plain)
{
    uLongf size = compressBound(static_cast<uLong>(plain.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, plain.data(), static_cast<uLong>(plain.size()), 9),
              Z_OK);
    out.resize(size);
    return out;
}

Bytes textBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// A pseudo-random payload that does not compress away to nothing.
Bytes noisyPayload(std::size_t size)
{
    Bytes out(size);
    std::uint32_t state = 12345;
    for (auto& b : out) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    return out;
}

TEST(ZlibInflate, RoundTripsTenBytesOfText)
{
    const Bytes plain = textBytes("node map!!");
    ASSERT_EQ(plain.size(), 10u);
    EXPECT_EQ(vembra::zlib::inflateStream(compressed(plain)), plain);
}

TEST(ZlibInflate, RoundTripsDataLargerThanOneInputPiece)
{
    const Bytes plain = noisyPayload(300 * 1024);
    const Bytes packed = compressed(plain);
    ASSERT_GT(packed.size(), 64u * 1024u); // several 64 KB input pieces
    EXPECT_EQ(vembra::zlib::inflateStream(packed), plain);
}

TEST(ZlibInflate, EmptyInputGivesEmptyOutput)
{
    EXPECT_TRUE(vembra::zlib::inflateStream({}).empty());
}

TEST(ZlibInflate, IgnoresBytesAfterTheStream)
{
    const Bytes plain = textBytes("cable network node 17");
    Bytes packed = compressed(plain);
    const Bytes trailer = textBytes("trailing garbage");
    packed.insert(packed.end(), trailer.begin(), trailer.end());
    EXPECT_EQ(vembra::zlib::inflateStream(packed), plain);
}

TEST(ZlibInflate, TruncatedStreamReturnsWhatWasInflated)
{
    const Bytes plain = noisyPayload(200 * 1024);
    Bytes packed = compressed(plain);
    packed.resize(packed.size() / 2);
    const Bytes out = vembra::zlib::inflateStream(packed);
    EXPECT_GT(out.size(), 0u);
    EXPECT_LT(out.size(), plain.size());
    EXPECT_TRUE(std::equal(out.begin(), out.end(), plain.begin()));
}

struct BadStream {
    const char* name;
    Bytes bytes;
    const char* text;
};

void PrintTo(const BadStream& stream, std::ostream* out)
{
    *out << stream.name;
}

class ZlibBadStreams : public ::testing::TestWithParam<BadStream> {};

TEST_P(ZlibBadStreams, ThrowsZlibsOwnText)
{
    try {
        vembra::zlib::inflateStream(GetParam().bytes);
        FAIL() << "no error for " << GetParam().name;
    } catch (const vembra::zlib::Error& error) {
        EXPECT_STREQ(error.what(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZlibBadStreams,
    ::testing::Values(
        // Valid header (78 9C), then a deflate block of the reserved type 3.
        BadStream{"reserved_block_type",
                  {0x78, 0x9C, 0x07, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07},
                  "data error"},
        // Header check bits wrong.
        BadStream{"bad_header_check",
                  {0x78, 0x9D, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08},
                  "data error"},
        // Compression method 7 instead of deflate.
        BadStream{"unknown_method", {0x77, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, "data error"},
        // Stored block whose length and its complement disagree.
        BadStream{"stored_length_mismatch",
                  {0x78, 0x01, 0x01, 0x05, 0x00, 0x00, 0x00, 0x41, 0x42, 0x43},
                  "data error"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(ZlibInflate, CorruptChecksumIsADataError)
{
    Bytes packed = compressed(textBytes("checksum guards the content"));
    packed.back() ^= 0xFF;
    EXPECT_THROW(
        {
            try {
                vembra::zlib::inflateStream(packed);
            } catch (const vembra::zlib::Error& e) {
                EXPECT_STREQ(e.what(), "data error");
                throw;
            }
        },
        vembra::zlib::Error);
}

} // namespace
