#include "records/inspection.h"

#include <array>

#include "records/byte_order.h"
#include "records/layout.h"
#include "text/utf16.h"

namespace tallowbrook {

namespace {

struct SlotPlace {
    std::string_view name;
    std::size_t offset;
    std::size_t firstLength; // the shortest record that holds it
};

constexpr std::array<SlotPlace, 4> kTextSlots{{
    {"text slot at 276", layout::kFirstTextSlot, kLength604},
    {"text slot at 864", layout::kSecondTextSlot, kLength604},
    {"engraving-setting path", layout::kEngravingSettingPath, kLength800},
    {"jobs path", layout::kJobsPath, kLength800},
}};

} // namespace

FieldText readFieldText(std::span<const std::byte> record, std::size_t offset, std::size_t units) {
    std::u16string text;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = readU16Le(record, offset + 2 * i);
        if (unit == 0) {
            return {utf8FromUtf16(text), true};
        }
        text += unit;
    }
    return {utf8FromUtf16(text), false};
}

bool FileInspection::driverExtraAgrees() const {
    return header && version && header->driverExtra == info(*version).driverExtra;
}

bool FileInspection::entryCountExceedsTable() const {
    return entryCount && version && *entryCount > layout::entryCapacity(info(*version).length);
}

FileInspection inspectRecord(std::span<const std::byte> record, std::uint64_t length) {
    FileInspection inspection;
    inspection.length = length;
    inspection.version = versionOfLength(length);
    if (!inspection.version || record.size() < length) {
        return inspection;
    }
    inspection.header = HeaderFields{
        readFieldText(record, layout::kDeviceName, layout::kDeviceNameUnits),
        readFieldText(record, layout::kFormName, layout::kFormNameUnits),
        readU16Le(record, layout::kSpecVersion),
        readU16Le(record, layout::kDriverVersion),
        readU16Le(record, layout::kSize),
        readU16Le(record, layout::kDriverExtra),
    };
    inspection.entryCount = readU32Le(record, layout::kEntryCount);
    for (const SlotPlace& slot : kTextSlots) {
        if (length >= slot.firstLength) {
            inspection.textSlots.push_back(
                {slot.name, slot.offset, readFieldText(record, slot.offset, layout::kTextSlotUnits)});
        }
    }
    return inspection;
}

} // namespace tallowbrook
