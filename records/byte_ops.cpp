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

void copyBlock(std::span<const std::byte> source, std::span<std::byte> target, std::size_t offset,
               std::size_t length) {
    assert(offset + length <= source.size() && offset + length <= target.size());
    std::memcpy(target.data() + offset, source.data() + offset, length);
}

void carryTextSlot(std::span<const std::byte> source, std::span<std::byte> target, std::size_t offset) {
    constexpr std::size_t kLastUnit = layout::kTextSlotUnits - 1;
    assert(offset + layout::kTextSlotLength <= source.size());
    assert(offset + layout::kTextSlotLength <= target.size());
    const std::byte* units = source.data() + offset;
    for (std::size_t unit = 0; unit < kLastUnit; ++unit) {
        if (units[2 * unit] == std::byte{0} && units[2 * unit + 1] == std::byte{0}) {
            copyBlock(source, target, offset, 2 * (unit + 1));
            return;
        }
    }
    // The terminator is the last unit, or missing: either way the slot ends terminated.
    copyBlock(source, target, offset, 2 * kLastUnit);
    writeU16Le(target, offset + 2 * kLastUnit, 0);
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

void narrowEntries(std::span<const std::byte> source, std::span<std::byte> target,
                   std::uint32_t entryCount) {
    const std::size_t count = entriesToConvert(source, target, entryCount);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(target.data() + layout::entryOffset(target.size(), i),
                    source.data() + layout::entryOffset(source.size(), i), layout::kEntryValueBytes);
    }
}

void widenEntries(std::span<const std::byte> source, std::span<std::byte> target,
                  std::uint32_t entryCount, std::uint32_t entry8) {
    const std::size_t count = entriesToConvert(source, target, entryCount);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t to = layout::entryOffset(target.size(), i);
        std::memcpy(target.data() + to, source.data() + layout::entryOffset(source.size(), i),
                    layout::kEntryValueBytes);
        writeU32Le(target, to + layout::kEntryWidth8, entry8);
        writeU32Le(target, to + layout::kEntryWidth12, layout::kWidenedEntry12);
        writeU32Le(target, to + layout::kEntryWidth16, layout::kWidenedEntry16);
        writeU32Le(target, to + layout::kEntryWidth20, layout::kWidenedEntry20);
    }
}

} // namespace tallowbrook
