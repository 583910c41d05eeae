#pragma once

// Little-endian reads and writes at byte offsets of a record buffer.
// Built on memcpy plus explicit byte order so they are right on any host and
// never depend on alignment.

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tallowbrook {

// Reads the 4 bytes at `offset` as an unsigned little-endian 32-bit value.
inline std::uint32_t readU32Le(std::span<const std::byte> bytes, std::size_t offset) {
    assert(offset + 4 <= bytes.size());
    unsigned char raw[4];
    std::memcpy(raw, bytes.data() + offset, 4);
    return static_cast<std::uint32_t>(raw[0]) | (static_cast<std::uint32_t>(raw[1]) << 8) |
           (static_cast<std::uint32_t>(raw[2]) << 16) | (static_cast<std::uint32_t>(raw[3]) << 24);
}

// Writes `value` as 4 little-endian bytes at `offset`.
inline void writeU32Le(std::span<std::byte> bytes, std::size_t offset, std::uint32_t value) {
    assert(offset + 4 <= bytes.size());
    const unsigned char raw[4] = {
        static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
        static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    std::memcpy(bytes.data() + offset, raw, 4);
}

// Reads the 2 bytes at `offset` as an unsigned little-endian 16-bit value.
inline std::uint16_t readU16Le(std::span<const std::byte> bytes, std::size_t offset) {
    assert(offset + 2 <= bytes.size());
    unsigned char raw[2];
    std::memcpy(raw, bytes.data() + offset, 2);
    return static_cast<std::uint16_t>(raw[0] | (raw[1] << 8));
}

// Writes `value` as 2 little-endian bytes at `offset`.
inline void writeU16Le(std::span<std::byte> bytes, std::size_t offset, std::uint16_t value) {
    assert(offset + 2 <= bytes.size());
    const unsigned char raw[2] = {static_cast<unsigned char>(value),
                                  static_cast<unsigned char>(value >> 8)};
    std::memcpy(bytes.data() + offset, raw, 2);
}

} // namespace tallowbrook
