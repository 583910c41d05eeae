#pragma once

// The two copy steps every conversion is built from.

#include <cstddef>
#include <span>

namespace tallowbrook {

// A record of a known version, read only, and a target buffer of exactly a
// version's length. Fixed extents make a wrong-sized buffer a compile error.
template <std::size_t N>
using SourceRecord = std::span<const std::byte, N>;
template <std::size_t N>
using TargetRecord = std::span<std::byte, N>;

// Field-wise copy, used between the two families and from 7.00-7.04 into 6.04:
// header (then the target's dmDriverExtra), the stem's values and blocks byte for
// byte, both text slots carried up to their terminator, then the entry table:
// widened from the older family (entry offset 8 gets 2500 from 6.04, the source's
// value at 836 from 7.00-7.04), narrowed from the newer family, or copied whole
// as far as both older tables reach. Ends with the defaults of appended fields.
// Value rules are the caller's.
void fieldWiseCopy(std::span<const std::byte> source, std::span<std::byte> target);

// Prefix copy, used within the newer family (and for the whole copy of 6.04 into
// 7.00-7.04): the first min(source, target) bytes unchanged, the target's
// dmDriverExtra, then the defaults of appended fields the source lacks.
// Value rules are the caller's.
void prefixCopy(std::span<const std::byte> source, std::span<std::byte> target);

} // namespace tallowbrook
