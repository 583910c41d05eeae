#include "convert/inspect.h"

#include <array>

#include "convert/file_access.h"
#include "convert/file_error.h"
#include "convert/printable_text.h"
#include "records/byte_order.h"
#include "records/layout.h"

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

void appendUtf8(std::string& out, char32_t c) {
    const auto put = [&out](unsigned value) { out += static_cast<char>(value); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

FieldText readFieldText(std::span<const std::byte> record, std::size_t offset, std::size_t units) {
    constexpr char32_t kReplacement = 0xFFFD;
    FieldText field{{}, false};
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = readU16Le(record, offset + 2 * i);
        if (unit == 0) {
            field.terminated = true;
            break;
        }
        if (isHighSurrogate(unit) && i + 1 < units) {
            const char32_t next = readU16Le(record, offset + 2 * (i + 1));
            if (isLowSurrogate(next)) {
                appendUtf8(field.text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(field.text, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit);
    }
    return field;
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

FileInspection inspectFile(const std::string& path) {
    try {
        SourceFile file = SourceFile::open(path);
        const std::uint64_t length = file.length();
        std::array<std::byte, kLongestRecord> record{};
        const std::optional<Version> version = versionOfLength(length);
        const std::size_t recordLength = version ? info(*version).length : 0;
        readExactly(file, std::span(record).first(recordLength));
        return inspectRecord(std::span(record).first(recordLength), length);
    } catch (const FileError& error) {
        throw FileError(error.cause(), error.osError(), error.path().value_or(path));
    }
}

std::string quotedFieldText(const FieldText& field) {
    return "\"" + printableText(field.text) + "\"" + (field.terminated ? "" : " (no terminator)");
}

std::string describeFile(const FileInspection& inspection) {
    if (!inspection.version) {
        return "Not a configuration file: " + std::to_string(inspection.length) +
               " bytes is the length of no version";
    }
    std::string line(info(*inspection.version).label);
    if (inspection.header) {
        line += ", device " + quotedFieldText(inspection.header->deviceName);
    }
    return line;
}

} // namespace tallowbrook
