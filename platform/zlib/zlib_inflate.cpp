#include "platform/zlib/zlib_inflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace vembra::zlib {

namespace {

constexpr std::size_t inputChunk = 64 * 1024;
constexpr std::size_t outputChunk = 256 * 1024;

// zlib's texts for its error codes, fixed here so they do not depend on the library build.
const char* errorText(int code)
{
    switch (code) {
    case Z_ERRNO:
        return "file error";
    case Z_STREAM_ERROR:
        return "stream error";
    case Z_DATA_ERROR:
        return "data error";
    case Z_MEM_ERROR:
        return "insufficient memory";
    case Z_BUF_ERROR:
        return "buffer error";
    case Z_VERSION_ERROR:
        return "incompatible version";
    default:
        return "data error";
    }
}

// Owns an initialised inflate stream so every exit path releases zlib's state.
class InflateStream {
public:
    InflateStream()
    {
        std::memset(&m_stream, 0, sizeof m_stream);
        const int rc = inflateInit(&m_stream);
        if (rc != Z_OK)
            throw Error(errorText(rc));
    }
    ~InflateStream() { inflateEnd(&m_stream); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    z_stream* get() { return &m_stream; }

private:
    z_stream m_stream;
};

} // namespace

std::vector<std::uint8_t> inflateStream(std::span<const std::uint8_t> bytes)
{
    std::vector<std::uint8_t> out;
    if (bytes.empty())
        return out;

    InflateStream owner;
    z_stream* zs = owner.get();
    std::size_t consumed = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (zs->avail_in == 0) {
            if (consumed >= bytes.size())
                break; // truncated: keep what we have
            const std::size_t take = std::min(inputChunk, bytes.size() - consumed);
            // zlib's interface is not const-correct; it never writes through next_in.
            zs->next_in = const_cast<Bytef*>(bytes.data() + consumed);
            zs->avail_in = static_cast<uInt>(take);
            consumed += take;
        }
        const std::size_t before = out.size();
        if (before >= maxInflatedSize)
            throw Error(errorText(Z_MEM_ERROR));
        const std::size_t room = std::min(outputChunk, maxInflatedSize - before);
        out.resize(before + room);
        zs->next_out = out.data() + before;
        zs->avail_out = static_cast<uInt>(room);
        rc = inflate(zs, Z_NO_FLUSH);
        out.resize(before + (room - zs->avail_out));
        if (rc == Z_NEED_DICT)
            throw Error(errorText(Z_DATA_ERROR));
        if (rc == Z_BUF_ERROR) {
            // No progress possible: either more input is needed (handled above) or the input
            // ended inside the stream.
            if (zs->avail_in == 0 && consumed < bytes.size())
                continue;
            if (zs->avail_in == 0)
                break;
            throw Error(errorText(rc));
        }
        if (rc != Z_OK && rc != Z_STREAM_END)
            throw Error(errorText(rc));
    }
    out.shrink_to_fit();
    return out;
}

} // namespace vembra::zlib
