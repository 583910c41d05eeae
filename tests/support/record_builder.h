#pragma once

// Test records: buffers of a version's length filled with seeded pseudo-random
// bytes, so that every byte a converter carries or drops is distinguishable.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "records/version_table.h"

namespace tallowbrook::test {

using Bytes = std::vector<std::byte>;

// A record of `version`'s length with pseudo-random content from `seed`.
Bytes randomRecord(Version version, std::uint32_t seed);

// A record of `length` bytes with pseudo-random content from `seed`.
Bytes randomBytes(std::size_t length, std::uint32_t seed);

void putU32(Bytes& record, std::size_t offset, std::uint32_t value);
std::uint32_t getU32(const Bytes& record, std::size_t offset);
std::uint16_t getU16(const Bytes& record, std::size_t offset);

// Writes `text` and a zero unit into the slot at `offset`; the rest of the slot stays.
void putText(Bytes& record, std::size_t offset, std::u16string_view text);

// Runs the dispatch table's converter for the pair on `source` into a target
// buffer that starts filled with `fill`; returns the target.
Bytes convert(Version from, Version to, const Bytes& source, std::byte fill = std::byte{0});

} // namespace tallowbrook::test
