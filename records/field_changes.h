#pragma once

// What a conversion did to each named field, read from the bytes of a source
// record and of the target record converted from it: the source fields the
// target has no place for (dropped), the fields of both whose values differ
// (changed), and the target fields the source lacks (filled). It compares the
// two records as they are, so a conversion that went wrong shows up as it is.
//
// Not reported: dmDriverExtra (always the target's own), the code units
// behind a text's terminator, entries at or beyond the entry count, and the
// target bytes a conversion leaves unwritten (byte 5 of a narrowed entry,
// entry offsets 5-7 and 24-27 of a widened one, an entry the source has no
// counterpart of).
//
// The comparison allocates nothing: each change is handed to a sink as it is
// found, its values pointing into the two records.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tallowbrook {

enum class ChangeKind : std::uint8_t {
    Dropped, // a source field with no place in the target; `from` is its value
    Changed, // in both, with different values: `from` becomes `to`
    Filled,  // a target field the source lacks; `to` is what was written
};

// The kind of named field a change is about.
enum class FieldName : std::uint8_t {
    Header,               // the DEVMODEW header, 0-219, dmDriverExtra aside
    Value,                // a 32-bit value, named by its offset
    EntryCount,           // 800
    Block,                // 232-255 or 808-827
    TextSlot,             // 276 or 864
    EngravingSettingPath, // 1856, 8.00 on
    JobsPath,             // 2376, 8.00 on
    TrailingBytes,        // 1478-1479 of 7.00-7.04
    EntryByte,            // one byte of an entry: entry offsets 0-4, and 5 of a 6-byte entry
    EntryBytes,           // entry offsets 5-7 or 24-27 of a 28-byte entry
    EntryValue,           // the 32-bit value at entry offset 8, 12, 16 or 20
    Entry,                // a used entry the target's table has no room for
};

struct FieldValue {
    enum class Form : std::uint8_t {
        None,   // no value (the header, a whole entry)
        Number, // `number`: a 32-bit value or a single byte
        Text,   // `bytes`: the text's UTF-16LE code units, its zero unit not among them
        Bytes,  // `bytes`: a run of bytes no rule looks into
    };
    Form form = Form::None;
    std::uint32_t number = 0;
    std::span<const std::byte> bytes{};
    bool terminated = true; // Text: whether a zero unit ends it inside its slot
};

// Whether two values are the same: form, number, text or bytes alike.
bool sameValue(const FieldValue& a, const FieldValue& b);

struct FieldChange {
    ChangeKind kind = ChangeKind::Changed;
    FieldName field = FieldName::Value;
    // Where the field starts: in the source for Dropped, in the target otherwise.
    std::size_t offset = 0;
    std::size_t width = 0;
    // Entry fields: the entry's index (from 0) and the field's offset inside it.
    std::size_t entry = 0;
    std::size_t entryOffset = 0;
    // Entry: the source's entry count, which the target carries unchanged.
    std::uint32_t entryCount = 0;
    FieldValue from; // the source's value (Dropped, Changed)
    FieldValue to;   // the target's value (Changed, Filled)
    // The value is the one a conversion into the field's version writes when
    // its source lacks the field: an appended field's default, a widened
    // entry's value at entry offset 8 (2500), 12 (1), 16 (1) or 20 (0), or
    // zero for bytes that conversions leave unwritten.
    bool isDefault = false;
};

class FieldChangeSink {
public:
    virtual ~FieldChangeSink() = default;
    virtual void fieldChanged(const FieldChange& change) = 0;
};

// Hands every change from `source` to `target` to `sink`, in the order of the
// fields in the records: header, stem, entries (entry by entry), the trailing
// bytes, the appended fields. Each record must be of a version's length;
// otherwise nothing is reported. Returns the number of changes.
std::size_t compareRecords(std::span<const std::byte> source, std::span<const std::byte> target,
                           FieldChangeSink& sink);

} // namespace tallowbrook
