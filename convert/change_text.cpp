#include "convert/change_text.h"

#include <algorithm>

#include "text/printable_text.h"
#include "records/layout.h"
#include "records/version_table.h"

namespace tallowbrook {

namespace {

std::string number(std::size_t value) {
    return std::to_string(value);
}

std::string ordinal(std::size_t n) {
    const std::size_t lastTwo = n % 100;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        suffix = n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th";
    }
    return number(n) + suffix;
}

bool isEntryField(FieldName name) {
    return name == FieldName::EntryByte || name == FieldName::EntryBytes || name == FieldName::EntryValue;
}

std::string valueText(const FieldValue& value) {
    switch (value.form) {
    case FieldValue::Form::Number:
        return number(value.number);
    case FieldValue::Form::Text:
        return quotedFieldText(textOf(value));
    case FieldValue::Form::Bytes:
        return hexBytes(value);
    case FieldValue::Form::None:
        break;
    }
    return {};
}

// A change, or the same change to one entry field in consecutive entries.
struct Item {
    FieldChange change;
    std::size_t lastEntry;
};

// What the item is about, as the subject of a line: "848", "the jobs path",
// "entry offset 8 of entries 1-16".
std::string subject(const Item& item) {
    const FieldChange& change = item.change;
    const std::size_t start = change.offset;
    const std::size_t end = change.offset + change.width - 1;
    if (isEntryField(change.field)) {
        const std::size_t first = change.entry + 1;
        const std::size_t last = item.lastEntry + 1;
        const std::string where = change.field == FieldName::EntryBytes
                                      ? "entry offsets " + number(change.entryOffset) + "-" +
                                            number(change.entryOffset + change.width - 1)
                                      : "entry offset " + number(change.entryOffset);
        return where + (first == last ? " of entry " + number(first)
                                      : " of entries " + number(first) + "-" + number(last));
    }
    switch (change.field) {
    case FieldName::Header:
        return "the header";
    case FieldName::Value:
        return number(start);
    case FieldName::EntryCount:
        return "the entry count";
    case FieldName::Block:
        return "the block at " + number(start) + "-" + number(end);
    case FieldName::TextSlot:
        return "the text at " + number(start);
    case FieldName::EngravingSettingPath:
        return "the engraving-setting path";
    case FieldName::JobsPath:
        return "the jobs path";
    case FieldName::TrailingBytes:
        return "bytes " + number(start) + "-" + number(end);
    default:
        break;
    }
    return "entry " + number(change.entry + 1);
}

std::string line(const Item& item, std::span<const std::byte> target) {
    const FieldChange& change = item.change;
    const std::string what = subject(item);
    switch (change.kind) {
    case ChangeKind::Changed:
        if (change.from.form == FieldValue::Form::None) {
            return what + " is changed";
        }
        return what + ": " + valueText(change.from) + " becomes " + valueText(change.to);
    case ChangeKind::Filled:
        return what + " is set to " + valueText(change.to);
    case ChangeKind::Dropped:
        break;
    }
    switch (change.from.form) {
    case FieldValue::Form::None: {
        const std::size_t capacity = layout::entryCapacity(target.size());
        const auto version = versionOfLength(target.size());
        return "the " + ordinal(change.entry + 1) + " entry does not fit " +
               std::string(version ? info(*version).label : "the target") + "'s table of " +
               number(capacity) + " and is dropped; the entry count still reads " + number(change.entryCount);
    }
    case FieldValue::Form::Number:
        return "the value " + valueText(change.from) + " at " + what + " is dropped";
    case FieldValue::Form::Bytes:
        return "the bytes " + valueText(change.from) + " at " + what + " are dropped";
    case FieldValue::Form::Text:
        break;
    }
    return what + " " + valueText(change.from) + " is dropped";
}

// "1852: 2" or "the jobs path \"trevak\\jobs\"", for the line of defaults.
std::string defaultItem(const Item& item) {
    const FieldValue& value = item.change.kind == ChangeKind::Dropped ? item.change.from : item.change.to;
    return subject(item) + (value.form == FieldValue::Form::Text ? " " : ": ") + valueText(value);
}

bool isDefaultOf(const Item& item, ChangeKind kind, bool inEntry) {
    return item.change.isDefault && item.change.kind == kind && isEntryField(item.change.field) == inEntry;
}

// "entries 1-16" or "entry 3".
std::string entryRun(const Item& item) {
    const std::size_t first = item.change.entry + 1;
    const std::size_t last = item.lastEntry + 1;
    return first == last ? "entry " + number(first) : "entries " + number(first) + "-" + number(last);
}

// "12: 1" or "5-7: 00 00 00": an entry field by its entry offset, and its value.
std::string entryFieldItem(const FieldChange& change) {
    std::string where = number(change.entryOffset);
    if (change.field == FieldName::EntryBytes) {
        where += "-";
        where += number(change.entryOffset + change.width - 1);
    }
    return where + ": " + valueText(change.kind == ChangeKind::Dropped ? change.from : change.to);
}

// The defaults of one kind: the record's fields first, then the entry fields
// by run of entries, "entries 1-16 at entry offsets 5-7: 00 00 00, 12: 1".
std::string defaultItems(const std::vector<Item>& items, ChangeKind kind) {
    std::string text;
    const auto add = [&text](const std::string& item) {
        text += text.empty() ? "" : ", ";
        text += item;
    };
    for (const Item& item : items) {
        if (isDefaultOf(item, kind, false)) {
            add(defaultItem(item));
        }
    }
    std::vector<bool> done(items.size(), false);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (done[i] || !isDefaultOf(items[i], kind, true)) {
            continue;
        }
        std::vector<std::string> fields;
        for (std::size_t j = i; j < items.size(); ++j) {
            const bool sameRun =
                items[j].change.entry == items[i].change.entry && items[j].lastEntry == items[i].lastEntry;
            if (!done[j] && sameRun && isDefaultOf(items[j], kind, true)) {
                done[j] = true;
                fields.push_back(entryFieldItem(items[j].change));
            }
        }
        const bool plural = fields.size() > 1 || items[i].change.field == FieldName::EntryBytes;
        std::string run = entryRun(items[i]) + (plural ? " at entry offsets " : " at entry offset ");
        for (std::size_t f = 0; f < fields.size(); ++f) {
            run += f == 0 ? "" : ", ";
            run += fields[f];
        }
        add(run);
    }
    return text;
}

class ChangeCollector final : public FieldChangeSink {
public:
    void fieldChanged(const FieldChange& change) override {
        if (isEntryField(change.field)) {
            // The latest item of the same field in the entry before, alike in all but its entry.
            const auto earlier = std::find_if(m_items.rbegin(), m_items.rend(), [&change](const Item& item) {
                return item.change.field == change.field && item.change.entryOffset == change.entryOffset &&
                       item.change.kind == change.kind;
            });
            if (earlier != m_items.rend() && earlier->lastEntry + 1 == change.entry &&
                earlier->change.isDefault == change.isDefault &&
                sameValue(earlier->change.from, change.from) && sameValue(earlier->change.to, change.to)) {
                earlier->lastEntry = change.entry;
                return;
            }
        }
        m_items.push_back({change, change.entry});
    }

    const std::vector<Item>& items() const { return m_items; }

private:
    std::vector<Item> m_items;
};

} // namespace

FieldText textOf(const FieldValue& value) {
    FieldText text = readFieldText(value.bytes, 0, value.bytes.size() / 2);
    text.terminated = value.terminated;
    return text;
}

std::string hexBytes(const FieldValue& value) {
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const std::byte b : value.bytes) {
        const auto v = std::to_integer<unsigned>(b);
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[v >> 4];
        text += kDigits[v & 0xF];
    }
    return text;
}

std::string fieldName(const FieldChange& change) {
    std::string entry = "entry " + number(change.entry + 1);
    switch (change.field) {
    case FieldName::Header:
        return "header";
    case FieldName::Value:
        return "value at " + number(change.offset);
    case FieldName::EntryCount:
        return "entry count";
    case FieldName::Block:
        return "block at " + number(change.offset);
    case FieldName::TextSlot:
        return "text slot at " + number(change.offset);
    case FieldName::EngravingSettingPath:
        return "engraving-setting path";
    case FieldName::JobsPath:
        return "jobs path";
    case FieldName::TrailingBytes:
        return "trailing bytes";
    case FieldName::EntryByte:
        return entry + ", byte " + number(change.entryOffset);
    case FieldName::EntryBytes:
        return entry + ", bytes " + number(change.entryOffset) + "-" +
               number(change.entryOffset + change.width - 1);
    case FieldName::EntryValue:
        return entry + ", value at " + number(change.entryOffset);
    case FieldName::Entry:
        break;
    }
    return entry;
}

std::vector<std::string> describeChanges(std::span<const std::byte> source,
                                         std::span<const std::byte> target) {
    ChangeCollector collector;
    compareRecords(source, target, collector);
    std::vector<std::string> lines;
    for (const Item& item : collector.items()) {
        if (!item.change.isDefault) {
            lines.push_back(line(item, target));
        }
    }
    const std::string filled = defaultItems(collector.items(), ChangeKind::Filled);
    const std::string dropped = defaultItems(collector.items(), ChangeKind::Dropped);
    if (!filled.empty() || !dropped.empty()) {
        std::string defaults;
        if (!filled.empty()) {
            defaults = "defaults filled in: " + filled;
        }
        if (!dropped.empty()) {
            defaults += (defaults.empty() ? "" : "; ") + std::string("defaults dropped: ") + dropped;
        }
        lines.push_back(std::move(defaults));
    }
    return lines;
}

} // namespace tallowbrook
