#pragma once

// Byte-level operations on record buffers. None allocates or fails; each
// touches only the bytes its contract names, inside the spans it is given.

#include <cassert>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <span>
#include <string_view>

namespace tallowbrook {

// Writes the 16-bit dmDriverExtra at offset 70: the record length minus the header.
void writeDriverExtra(std::span<std::byte> target);

// Copies `length` bytes at `offset` of the source to the same offset of the target.
// Inline, so that blocks of constant length compile to plain moves.
inline void copyBlock(std::span<const std::byte> source, std::span<std::byte> target, std::size_t offset,
                      std::size_t length) {
    assert(offset + length <= source.size() && offset + length <= target.size());
    std::memcpy(target.data() + offset, source.data() + offset, length);
}

// Carries the 512-byte text slot at `offset`: UTF-16LE units up to and
// including the first zero unit; the target units behind it are not written. A
// slot without a zero unit among units 0-254 gives its first 255 units and a
// zero unit as unit 255, so the target always holds a terminated text and
// nothing outside the slot is touched.
void carryTextSlot(std::span<const std::byte> source, std::span<std::byte> target, std::size_t offset);

// Writes `text` (at most 255 units) and its zero unit as UTF-16LE at `offset`; the
// rest of the slot is not written.
void fillTextSlot(std::span<std::byte> target, std::size_t offset, std::u16string_view text);

// 28-byte source entries to 6-byte target entries: for i below both `entryCount`
// (unsigned) and the smaller table capacity, target entry bytes 0-4 take source
// entry bytes 0-4; target byte 5 is not written.
void narrowEntries(std::span<const std::byte> source, std::span<std::byte> target,
                   std::uint32_t entryCount);

// 6-byte source entries to 28-byte target entries, bounded as for narrowing: entry
// bytes 0-4 carried, 32-bit values `entry8`, 1, 1, 0 at entry offsets 8, 12, 16, 20;
// entry offsets 5-7 and 24-27 are not written.
void widenEntries(std::span<const std::byte> source, std::span<std::byte> target,
                  std::uint32_t entryCount, std::uint32_t entry8);

} // namespace tallowbrook
