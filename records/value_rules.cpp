#include "records/value_rules.h"

#include "records/slots_and_entries.h"
#include "records/byte_order.h"

namespace tallowbrook {

void reset788(std::span<std::byte> target) { writeU32Le(target, layout::kValue788, 0); }

void remap848(std::span<std::byte> target) {
    const std::uint32_t value = readU32Le(target, layout::kValue848);
    if (value == 3 || value == 4) {
        writeU32Le(target, layout::kValue848, 1);
    } else if (value == 5 || value == 6) {
        writeU32Le(target, layout::kValue848, 2);
    }
}

void reset852(std::span<std::byte> target) { writeU32Le(target, layout::kValue852, 0); }

void remap1852(std::span<std::byte> target) {
    if (readU32Le(target, layout::kValue1852) == 3) {
        writeU32Le(target, layout::kValue1852, 2);
    }
}

void writeAppendedDefaults(std::span<std::byte> target, std::size_t sourceLength) {
    if (target.size() <= kAppendedFields.front().offset) {
        return; // the older family and 7.05 append nothing
    }
    for (const AppendedField& field : kAppendedFields) {
        if (field.offset < sourceLength || field.offset + field.width > target.size()) {
            continue;
        }
        if (field.text.empty()) {
            writeU32Le(target, field.offset, field.value);
        } else {
            fillTextSlot(target, field.offset, field.text);
        }
    }
}

} // namespace tallowbrook
