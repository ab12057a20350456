// Inflating zlib streams held in memory (node maps are stored compressed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace vembra::zlib {

// A zlib failure; what() is zlib's own text for the code ("data error", "buffer error", ...).
class Error : public std::runtime_error {
public:
    explicit Error(const char* text) : std::runtime_error(text) {}
};

// Largest output inflateStream() produces before it refuses with "insufficient memory".
constexpr std::size_t maxInflatedSize = std::size_t{512} * 1024 * 1024;

// Inflates one zlib stream; trailing bytes are ignored and a truncated stream yields what was
// inflated so far. Throws Error on corrupt data.
std::vector<std::uint8_t> inflateStream(std::span<const std::uint8_t> bytes);

} // namespace vembra::zlib
