#include "records/field_changes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "records/byte_order.h"
#include "records/layout.h"
#include "records/value_rules.h"
#include "records/version_table.h"

namespace tallowbrook {

namespace {

struct StemField {
    FieldName name;
    std::size_t offset;
    std::size_t width;
};

constexpr StemField valueAt(std::size_t offset) {
    return {FieldName::Value, offset, 4};
}

// The header around dmDriverExtra, which is always the target's own.
constexpr std::array<StemField, 2> kHeaderParts{{
    {FieldName::Header, 0, layout::kDriverExtra},
    {FieldName::Header, layout::kDriverExtra + 2, kHeaderLength - layout::kDriverExtra - 2},
}};

// The common stem, field by field, 220 up to the entry table.
constexpr std::array<StemField, 26> kStemFields{{
    valueAt(220),
    valueAt(224),
    valueAt(228),
    {FieldName::Block, 232, 24},
    valueAt(256),
    valueAt(260),
    valueAt(264),
    valueAt(268),
    valueAt(272),
    {FieldName::TextSlot, layout::kFirstTextSlot, layout::kTextSlotLength},
    valueAt(layout::kValue788),
    valueAt(792),
    valueAt(796),
    {FieldName::EntryCount, layout::kEntryCount, 4},
    valueAt(804),
    {FieldName::Block, 808, 20},
    valueAt(828),
    valueAt(832),
    valueAt(layout::kValue836),
    valueAt(840),
    valueAt(844),
    valueAt(layout::kValue848),
    valueAt(layout::kValue852),
    valueAt(856),
    valueAt(860),
    {FieldName::TextSlot, layout::kSecondTextSlot, layout::kTextSlotLength},
}};

constexpr bool stemTilesItsBytes() {
    std::size_t at = kHeaderLength;
    for (const StemField& field : kStemFields) {
        if (field.offset != at) {
            return false;
        }
        at += field.width;
    }
    return at == layout::kStemEnd && kHeaderParts[1].offset + kHeaderParts[1].width == kHeaderLength;
}
static_assert(stemTilesItsBytes());

// A 28-byte entry beyond its five shared bytes, with the value that widening
// writes where there is one.
struct EntryField {
    FieldName name;
    std::size_t entryOffset;
    std::size_t width;
    std::uint32_t widened;
};

constexpr std::array<EntryField, 6> kNewEntryFields{{
    {FieldName::EntryBytes, layout::kEntryValueBytes, 3, 0},
    {FieldName::EntryValue, layout::kEntryFirstValue, 4, layout::kWidenedEntry8From604},
    {FieldName::EntryValue, layout::kEntrySecondValue, 4, layout::kWidenedEntry12},
    {FieldName::EntryValue, layout::kEntryThirdValue, 4, layout::kWidenedEntry16},
    {FieldName::EntryValue, layout::kEntryFourthValue, 4, layout::kWidenedEntry20},
    {FieldName::EntryBytes, layout::kEntryFourthValue + 4, 4, 0},
}};
static_assert(kNewEntryFields.back().entryOffset + kNewEntryFields.back().width == layout::kNewEntryStride);

// A text slot's text: its units up to the first zero unit, or all 256.
FieldValue textAt(std::span<const std::byte> record, std::size_t offset) {
    std::size_t units = 0;
    while (units < layout::kTextSlotUnits && readU16Le(record, offset + 2 * units) != 0) {
        ++units;
    }
    return {FieldValue::Form::Text, 0, record.subspan(offset, 2 * units), units < layout::kTextSlotUnits};
}

FieldValue valueOf(std::span<const std::byte> record, FieldName name, std::size_t offset, std::size_t width) {
    switch (name) {
    case FieldName::TextSlot:
    case FieldName::EngravingSettingPath:
    case FieldName::JobsPath:
        return textAt(record, offset);
    case FieldName::Header:
    case FieldName::Entry:
        return {};
    case FieldName::Block:
    case FieldName::TrailingBytes:
    case FieldName::EntryBytes:
        return {FieldValue::Form::Bytes, 0, record.subspan(offset, width), true};
    case FieldName::EntryByte:
        return {FieldValue::Form::Number, std::to_integer<std::uint32_t>(record[offset]), {}, true};
    case FieldName::Value:
    case FieldName::EntryCount:
    case FieldName::EntryValue:
        break;
    }
    return {FieldValue::Form::Number, readU32Le(record, offset), {}, true};
}

bool allZero(std::span<const std::byte> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0}; });
}

bool isText(const FieldValue& value, std::u16string_view text) {
    if (value.form != FieldValue::Form::Text || !value.terminated || value.bytes.size() != 2 * text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (readU16Le(value.bytes, 2 * i) != text[i]) {
            return false;
        }
    }
    return true;
}

FieldName appendedName(std::size_t offset) {
    if (offset == layout::kEngravingSettingPath) {
        return FieldName::EngravingSettingPath;
    }
    return offset == layout::kJobsPath ? FieldName::JobsPath : FieldName::Value;
}

class Comparison {
public:
    Comparison(std::span<const std::byte> source, std::span<const std::byte> target, FieldChangeSink& sink)
        : m_source(source), m_target(target), m_sink(sink) {}

    void run() {
        for (const StemField& field : kHeaderParts) {
            compareStemField(field);
        }
        for (const StemField& field : kStemFields) {
            compareStemField(field);
        }
        compareEntries();
        if (m_source.size() == kLength700 && m_target.size() != kLength700) {
            FieldChange change =
                base(ChangeKind::Dropped, FieldName::TrailingBytes, layout::kTrailingBytes700, 2);
            change.from = valueOf(m_source, FieldName::TrailingBytes, change.offset, change.width);
            change.isDefault = allZero(change.from.bytes);
            report(change);
        }
        compareAppendedFields();
    }

    std::size_t reported() const { return m_reported; }

private:
    static FieldChange base(ChangeKind kind, FieldName name, std::size_t offset, std::size_t width) {
        FieldChange change;
        change.kind = kind;
        change.field = name;
        change.offset = offset;
        change.width = width;
        return change;
    }

    void report(const FieldChange& change) {
        ++m_reported;
        m_sink.fieldChanged(change);
    }

    // A field at the same place in both records, reported when its values differ.
    void compareInPlace(FieldChange change, std::size_t sourceOffset) {
        change.from = valueOf(m_source, change.field, sourceOffset, change.width);
        change.to = valueOf(m_target, change.field, change.offset, change.width);
        const bool differs = change.from.form == FieldValue::Form::None
                                 ? std::memcmp(m_source.data() + sourceOffset,
                                               m_target.data() + change.offset, change.width) != 0
                                 : !sameValue(change.from, change.to);
        if (differs) {
            report(change);
        }
    }

    void compareStemField(const StemField& field) {
        compareInPlace(base(ChangeKind::Changed, field.name, field.offset, field.width), field.offset);
    }

    void compareEntries() {
        const std::uint32_t count = readU32Le(m_source, layout::kEntryCount);
        const std::size_t used = std::min<std::size_t>(count, layout::entryCapacity(m_source.size()));
        const std::size_t fitting = std::min(used, layout::entryCapacity(m_target.size()));
        const bool olderSource = isOlderFamily(m_source.size());
        const bool olderTarget = isOlderFamily(m_target.size());
        for (std::size_t i = 0; i < fitting; ++i) {
            const std::size_t from = layout::entryOffset(m_source.size(), i);
            const std::size_t to = layout::entryOffset(m_target.size(), i);
            const std::size_t sharedBytes =
                olderSource && olderTarget ? layout::kOldEntryStride : layout::kEntryValueBytes;
            for (std::size_t k = 0; k < sharedBytes; ++k) {
                compareInPlace(entryField(ChangeKind::Changed, FieldName::EntryByte, to, i, k, 1), from + k);
            }
            if (!olderSource && !olderTarget) {
                for (const EntryField& field : kNewEntryFields) {
                    compareInPlace(
                        entryField(ChangeKind::Changed, field.name, to, i, field.entryOffset, field.width),
                        from + field.entryOffset);
                }
            } else if (!olderSource) {
                for (const EntryField& field : kNewEntryFields) {
                    dropEntryField(field, from, i);
                }
            } else if (!olderTarget) {
                dropEntryField({FieldName::EntryByte, layout::kEntryValueBytes, 1, 0}, from, i);
                for (const EntryField& field : kNewEntryFields) {
                    if (field.name == FieldName::EntryValue) {
                        fillEntryField(field, to, i);
                    }
                }
            }
        }
        for (std::size_t i = fitting; i < used; ++i) {
            FieldChange change =
                base(ChangeKind::Dropped, FieldName::Entry, layout::entryOffset(m_source.size(), i),
                     layout::entryStride(m_source.size()));
            change.entry = i;
            change.entryCount = count;
            report(change);
        }
    }

    static FieldChange entryField(ChangeKind kind, FieldName name, std::size_t entryStart, std::size_t entry,
                                  std::size_t entryOffset, std::size_t width) {
        FieldChange change = base(kind, name, entryStart + entryOffset, width);
        change.entry = entry;
        change.entryOffset = entryOffset;
        return change;
    }

    void dropEntryField(const EntryField& field, std::size_t entryStart, std::size_t entry) {
        FieldChange change =
            entryField(ChangeKind::Dropped, field.name, entryStart, entry, field.entryOffset, field.width);
        change.from = valueOf(m_source, field.name, change.offset, field.width);
        change.isDefault = change.from.form == FieldValue::Form::Bytes ? allZero(change.from.bytes)
                                                                       : change.from.number == field.widened;
        report(change);
    }

    void fillEntryField(const EntryField& field, std::size_t entryStart, std::size_t entry) {
        FieldChange change =
            entryField(ChangeKind::Filled, field.name, entryStart, entry, field.entryOffset, field.width);
        change.to = valueOf(m_target, field.name, change.offset, field.width);
        change.isDefault = change.to.number == field.widened;
        report(change);
    }

    void compareAppendedFields() {
        for (const AppendedField& field : kAppendedFields) {
            const bool inSource = field.offset + field.width <= m_source.size();
            const bool inTarget = field.offset + field.width <= m_target.size();
            const FieldName name = appendedName(field.offset);
            if (inSource && inTarget) {
                compareInPlace(base(ChangeKind::Changed, name, field.offset, field.width), field.offset);
                continue;
            }
            if (!inSource && !inTarget) {
                continue;
            }
            FieldChange change =
                base(inSource ? ChangeKind::Dropped : ChangeKind::Filled, name, field.offset, field.width);
            FieldValue& value = inSource ? change.from : change.to;
            value = valueOf(inSource ? m_source : m_target, name, field.offset, field.width);
            change.isDefault = field.text.empty() ? value.number == field.value : isText(value, field.text);
            report(change);
        }
    }

    std::span<const std::byte> m_source;
    std::span<const std::byte> m_target;
    FieldChangeSink& m_sink;
    std::size_t m_reported = 0;
};

} // namespace

bool sameValue(const FieldValue& a, const FieldValue& b) {
    return a.form == b.form && a.number == b.number && a.terminated == b.terminated &&
           a.bytes.size() == b.bytes.size() &&
           (a.bytes.empty() || std::memcmp(a.bytes.data(), b.bytes.data(), a.bytes.size()) == 0);
}

std::size_t compareRecords(std::span<const std::byte> source, std::span<const std::byte> target,
                           FieldChangeSink& sink) {
    if (!versionOfLength(source.size()) || !versionOfLength(target.size())) {
        return 0;
    }
    Comparison comparison(source, target, sink);
    comparison.run();
    return comparison.reported();
}

} // namespace tallowbrook
