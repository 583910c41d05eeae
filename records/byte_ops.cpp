#include "records/byte_ops.h"

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
// Units of the slot up to and including its first zero unit, or 0 when it has
// none. Looks at eight units at a time: (w - 0x0001...) & ~w & 0x8000... is
// non-zero exactly when one of the word's 16-bit lanes is zero, whatever the
// host's byte order, since lanes and units share their boundaries.
std::size_t unitsThroughTerminator(const std::byte* slot) {
    constexpr std::uint64_t kLaneOnes = 0x0001'0001'0001'0001;
    constexpr std::uint64_t kLaneHighBits = 0x8000'8000'8000'8000;
    constexpr std::size_t kUnitsPerStep = 2 * sizeof(std::uint64_t) / 2;
    static_assert(layout::kTextSlotUnits % kUnitsPerStep == 0);
    for (std::size_t unit = 0; unit < layout::kTextSlotUnits; unit += kUnitsPerStep) {
        std::uint64_t words[2];
        std::memcpy(words, slot + 2 * unit, sizeof words);
        const std::uint64_t zeroLanes = ((words[0] - kLaneOnes) & ~words[0]) | ((words[1] - kLaneOnes) & ~words[1]);
        if ((zeroLanes & kLaneHighBits) == 0) {
            continue;
        }
        for (std::size_t at = unit; at < unit + kUnitsPerStep; ++at) {
            if (slot[2 * at] == std::byte{0} && slot[2 * at + 1] == std::byte{0}) {
                return at + 1;
            }
        }
    }
    return 0;
}
} // namespace

void copyThroughTextSlot(std::span<const std::byte> source, std::span<std::byte> target,
                         std::size_t blockStart, std::size_t slot) {
    constexpr std::size_t kLastUnit = layout::kTextSlotUnits - 1;
    assert(blockStart <= slot);
    assert(slot + layout::kTextSlotLength <= source.size());
    assert(slot + layout::kTextSlotLength <= target.size());
    const std::size_t units = unitsThroughTerminator(source.data() + slot);
    if (units != 0 && units <= kLastUnit) {
        copyBlock(source, target, blockStart, slot - blockStart + 2 * units);
        return;
    }
    // The terminator is the last unit, or missing: either way the slot ends terminated.
    copyBlock(source, target, blockStart, slot - blockStart + 2 * kLastUnit);
    writeU16Le(target, slot + 2 * kLastUnit, 0);
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
        writeU32Le(target, to + layout::kEntryWidth8, entry8);
        writeU32Le(target, to + layout::kEntryWidth12, layout::kWidenedEntry12);
        writeU32Le(target, to + layout::kEntryWidth16, layout::kWidenedEntry16);
        writeU32Le(target, to + layout::kEntryWidth20, layout::kWidenedEntry20);
    }
}

} // namespace tallowbrook
