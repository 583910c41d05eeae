#pragma once

// What a record is, for showing it to its user: its version (by its length, as
// Merge knows it), a few header members and the text slots, read from its
// bytes. Nothing here is used to convert; a record of no version is described,
// never refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/version_table.h"

namespace tallowbrook {

// UTF-16LE text read from a fixed-size field. `text` is UTF-8 up to the first
// zero unit, or the whole field when it holds none; a unit that is not part of
// a well-formed pair reads as U+FFFD.
struct FieldText {
    std::string text;
    bool terminated = true;
};

// Reads `units` UTF-16LE code units at `offset` of `record` as FieldText.
FieldText readFieldText(std::span<const std::byte> record, std::size_t offset, std::size_t units);

struct TextSlotText {
    std::string_view name; // "text slot at 276", "jobs path", ...
    std::size_t offset = 0;
    FieldText value;
};

// The DEVMODEW members a user recognises a file by.
struct HeaderFields {
    FieldText deviceName;
    FieldText formName;
    std::uint16_t specVersion = 0;
    std::uint16_t driverVersion = 0;
    std::uint16_t size = 0;
    std::uint16_t driverExtra = 0;
};

struct FileInspection {
    std::uint64_t length = 0;
    std::optional<Version> version; // known by the length alone
    // The rest is read only from a file of a known version.
    std::optional<HeaderFields> header;
    std::optional<std::uint32_t> entryCount;
    std::vector<TextSlotText> textSlots;

    // Whether dmDriverExtra is what the length says (length minus 220).
    bool driverExtraAgrees() const;
    // Whether the entry count is more than the version's table holds (the
    // count is still carried unchanged by every conversion).
    bool entryCountExceedsTable() const;
};

// Inspects the first bytes of a file of `length` bytes; `record` holds the
// whole record when the length names a version, and is not looked at
// otherwise.
FileInspection inspectRecord(std::span<const std::byte> record, std::uint64_t length);

} // namespace tallowbrook
