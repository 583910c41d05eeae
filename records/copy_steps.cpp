#include "records/copy_steps.h"

#include <algorithm>
#include <cassert>

#include "records/slots_and_entries.h"
#include "records/byte_order.h"
#include "records/layout.h"
#include "records/value_rules.h"

namespace tallowbrook {

namespace {
void copyEntryTable(std::span<const std::byte> source, std::span<std::byte> target) {
    const bool olderSource = isOlderFamily(source.size());
    const bool olderTarget = isOlderFamily(target.size());
    const std::uint32_t entryCount = readU32Le(source, layout::kEntryCount);
    if (olderSource && olderTarget) {
        // Within the older family the entries travel as whole bytes, used or not.
        const std::size_t entries =
            std::min(layout::entryCapacity(source.size()), layout::entryCapacity(target.size()));
        copyBlock(source, target, layout::kEntryTable, entries * layout::kOldEntryStride);
    } else if (olderSource) {
        const std::uint32_t entry8 = source.size() == kLength604
                                         ? layout::kWidenedEntry8From604
                                         : readU32Le(source, layout::kValue836);
        widenEntries(source, target, entryCount, entry8);
    } else {
        narrowEntries(source, target, entryCount);
    }
}
} // namespace

void fieldWiseCopy(std::span<const std::byte> source, std::span<std::byte> target) {
    assert(isOlderFamily(source.size()) || isOlderFamily(target.size()));
    // Header and stem values are carried byte for byte around the two slots.
    copyBlock(source, target, 0, layout::kFirstTextSlot);
    writeDriverExtra(target);
    carryTextSlot(source, target, layout::kFirstTextSlot);
    copyBlock(source, target, layout::kValue788, layout::kSecondTextSlot - layout::kValue788);
    carryTextSlot(source, target, layout::kSecondTextSlot);
    copyEntryTable(source, target);
    writeAppendedDefaults(target, source.size());
}

void prefixCopy(std::span<const std::byte> source, std::span<std::byte> target) {
    copyBlock(source, target, 0, std::min(source.size(), target.size()));
    writeDriverExtra(target);
    writeAppendedDefaults(target, source.size());
}

} // namespace tallowbrook
