#include "records/slots_and_entries.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "records/byte_order.h"
#include "records/layout.h"

namespace tallowbrook {

void writeDriverExtra(std::span<std::byte> target) {
    writeU16Le(target, layout::kDriverExtra, static_cast<std::uint16_t>(target.size() - kHeaderLength));
}

namespace {
// Whether one of the word's four 16-bit lanes is zero: (w - 0x0001...) & ~w &
// 0x8000... is non-zero exactly then, whatever the host's byte order, since
// lanes and UTF-16 units share their boundaries.
constexpr bool hasZeroUnit(std::uint64_t word) {
    constexpr std::uint64_t kLaneOnes = 0x0001'0001'0001'0001;
    constexpr std::uint64_t kLaneHighBits = 0x8000'8000'8000'8000;
    return ((word - kLaneOnes) & ~word & kLaneHighBits) != 0;
}
} // namespace

void carryTextSlot(std::span<const std::byte> source, std::span<std::byte> target, std::size_t offset) {
    assert(offset + layout::kTextSlotLength <= source.size());
    assert(offset + layout::kTextSlotLength <= target.size());
    const std::byte* from = source.data() + offset;
    std::byte* to = target.data() + offset;
    // Copies a word at a time while no unit in it is zero; the word holding the
    // terminator is copied unit by unit up to and including it.
    for (std::size_t at = 0; at < layout::kTextSlotLength; at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, from + at, sizeof word);
        if (!hasZeroUnit(word)) {
            std::memcpy(to + at, &word, sizeof word);
            continue;
        }
        for (std::size_t unit = at; unit < at + sizeof word; unit += 2) {
            to[unit] = from[unit];
            to[unit + 1] = from[unit + 1];
            if (from[unit] == std::byte{0} && from[unit + 1] == std::byte{0}) {
                return;
            }
        }
    }
    // No zero unit at all: the last unit becomes the terminator.
    writeU16Le(target, offset + layout::kTextSlotLength - 2, 0);
}

void fillTextSlot(std::span<std::byte> target, std::size_t offset, std::u16string_view text) {
    assert(text.size() < layout::kTextSlotUnits);
    std::size_t at = offset;
    for (const char16_t unit : text) {
        writeU16Le(target, at, unit);
        at += 2;
    }
    writeU16Le(target, at, 0);
}

namespace {
std::size_t entriesToConvert(std::span<const std::byte> source, std::span<std::byte> target,
                             std::uint32_t entryCount) {
    const std::size_t capacity =
        std::min(layout::entryCapacity(source.size()), layout::entryCapacity(target.size()));
    return std::min<std::size_t>(entryCount, capacity);
}
} // namespace

// Narrowing reads 28-byte entries and writes 6-byte ones; widening the reverse.
// The strides are fixed by the direction, so the loops need no look-ups.
void narrowEntries(std::span<const std::byte> source, std::span<std::byte> target,
                   std::uint32_t entryCount) {
    const std::size_t count = entriesToConvert(source, target, entryCount);
    assert(layout::kEntryTable + count * layout::kNewEntryStride <= source.size());
    assert(layout::kEntryTable + count * layout::kOldEntryStride <= target.size());
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(target.data() + layout::kEntryTable + layout::kOldEntryStride * i,
                    source.data() + layout::kEntryTable + layout::kNewEntryStride * i,
                    layout::kEntryValueBytes);
    }
}

void widenEntries(std::span<const std::byte> source, std::span<std::byte> target,
                  std::uint32_t entryCount, std::uint32_t entry8) {
    const std::size_t count = entriesToConvert(source, target, entryCount);
    assert(layout::kEntryTable + count * layout::kOldEntryStride <= source.size());
    assert(layout::kEntryTable + count * layout::kNewEntryStride <= target.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t to = layout::kEntryTable + layout::kNewEntryStride * i;
        std::memcpy(target.data() + to, source.data() + layout::kEntryTable + layout::kOldEntryStride * i,
                    layout::kEntryValueBytes);
        writeU32Le(target, to + layout::kEntryFirstValue, entry8);
        writeU32Le(target, to + layout::kEntrySecondValue, layout::kWidenedEntry12);
        writeU32Le(target, to + layout::kEntryThirdValue, layout::kWidenedEntry16);
        writeU32Le(target, to + layout::kEntryFourthValue, layout::kWidenedEntry20);
    }
}

} // namespace tallowbrook
