// What the comparison of a source and its converted target reports, over the
// thirty pairs with crafted sources: each change appears exactly when the
// bytes say so. Changes are written here as "<kind> <where> <values>", the
// entry fields as "e<entry>+<entry offset>", so the expectations are stated
// apart from the comparison's own names.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <span>

#include "records/byte_order.h"
#include "records/field_changes.h"
#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

using Lines = std::vector<std::string>;

// Bytes as "1.2.3".
std::string dotted(std::span<const std::byte> bytes) {
    std::string text;
    for (const std::byte b : bytes) {
        text += (text.empty() ? "" : ".") + std::to_string(std::to_integer<int>(b));
    }
    return text;
}

std::string shown(const FieldValue& value) {
    switch (value.form) {
    case FieldValue::Form::Number:
        return std::to_string(value.number);
    case FieldValue::Form::Text: {
        std::string text = "\"";
        for (std::size_t i = 0; i < value.bytes.size(); i += 2) {
            text += static_cast<char>(readU16Le(value.bytes, i)); // the tests' texts are ASCII
        }
        return text + "\"";
    }
    case FieldValue::Form::Bytes:
        return dotted(value.bytes);
    case FieldValue::Form::None:
        break;
    }
    return "-";
}

class Collect final : public FieldChangeSink {
public:
    void fieldChanged(const FieldChange& change) override {
        static const char* const kKinds[] = {"dropped", "changed", "filled"};
        const bool inEntry = change.field == FieldName::EntryByte || change.field == FieldName::EntryBytes ||
                             change.field == FieldName::EntryValue;
        std::string where =
            inEntry ? "e" + std::to_string(change.entry + 1) + "+" + std::to_string(change.entryOffset)
            : change.field == FieldName::Entry ? "e" + std::to_string(change.entry + 1)
                                               : std::to_string(change.offset);
        std::string line = std::string(kKinds[static_cast<int>(change.kind)]) + " " + where + " ";
        line += change.kind == ChangeKind::Changed   ? shown(change.from) + "->" + shown(change.to)
                : change.kind == ChangeKind::Dropped ? shown(change.from)
                                                     : shown(change.to);
        lines.push_back(line + (change.isDefault ? " (default)" : ""));
    }
    Lines lines;
};

Lines changesOf(const Bytes& source, const Bytes& target) {
    Collect collect;
    const std::size_t count = compareRecords(source, target, collect);
    EXPECT_EQ(count, collect.lines.size());
    std::sort(collect.lines.begin(), collect.lines.end());
    return collect.lines;
}

// A record as the driver would save it untouched: zeros, the appended
// fields at their defaults, `entries` used entries whose five values are
// 1-5 and whose other values are what widening writes.
Bytes crafted(Version version, std::uint32_t entries) {
    Bytes record(recordLength(version), std::byte{0});
    const std::size_t length = record.size();
    if (length >= 1856) {
        putU32(record, k1852, 2);
    }
    if (length >= 2888) {
        putText(record, kEngravingPathSlot, kEngravingPathDefault);
        putU32(record, k2368, 1);
        putText(record, kJobsPathSlot, kJobsPathDefault);
    }
    if (length >= 2892) {
        putU32(record, k2888, 1);
    }
    putU32(record, kEntryCountAt, entries);
    const std::size_t stride = isOlderVersion(version) ? kOldEntryStride : kNewEntryStride;
    for (std::size_t i = 0; i < std::min<std::size_t>(entries, entryCapacity(version)); ++i) {
        for (std::size_t k = 0; k < 5; ++k) {
            record[kEntryTable + stride * i + k] = static_cast<std::byte>(k + 1);
        }
        if (stride == kNewEntryStride) {
            putU32(record, kEntryTable + stride * i + 8, 2500);
            putU32(record, kEntryTable + stride * i + 12, 1);
            putU32(record, kEntryTable + stride * i + 16, 1);
        }
    }
    return record;
}

// What any conversion of the pair reports for `source` beyond the row's own
// changes: the entry fields one family has and the other lacks, the entries
// that do not fit, the trailing bytes of 7.00-7.04 and the appended fields.
Lines structuralChanges(VersionPair pair, const Bytes& source, const Bytes& target) {
    Lines lines;
    const auto mark = [](bool isDefault) { return std::string(isDefault ? " (default)" : ""); };
    // The source's bytes at `from`, marked as the default when all are zero.
    const auto bytesAt = [&](std::size_t from, std::size_t n) {
        const auto bytes = std::span(source).subspan(from, n);
        return dotted(bytes) +
               mark(std::ranges::all_of(bytes, [](std::byte b) { return b == std::byte{0}; }));
    };
    const std::uint32_t count = getU32(source, kEntryCountAt);
    const std::size_t used = std::min<std::size_t>(count, entryCapacity(pair.from));
    const std::size_t fitting = std::min(used, entryCapacity(pair.to));
    for (std::size_t i = 0; i < fitting; ++i) {
        const std::string entry = "e" + std::to_string(i + 1) + "+";
        if (!isOlderVersion(pair.from) && isOlderVersion(pair.to)) {
            const std::size_t at = kEntryTable + kNewEntryStride * i;
            lines.push_back("dropped " + entry + "5 " + bytesAt(at + 5, 3));
            const std::uint32_t widened[] = {2500, 1, 1, 0};
            for (std::size_t v = 0; v < 4; ++v) {
                const std::uint32_t value = getU32(source, at + 8 + 4 * v);
                lines.push_back("dropped " + entry + std::to_string(8 + 4 * v) + " " + std::to_string(value) +
                                mark(value == widened[v]));
            }
            lines.push_back("dropped " + entry + "24 " + bytesAt(at + 24, 4));
        } else if (isOlderVersion(pair.from) && !isOlderVersion(pair.to)) {
            lines.push_back("dropped " + entry + "5 " + bytesAt(kEntryTable + kOldEntryStride * i + 5, 1));
            const std::uint32_t entry8 = pair.from == Version::V604 ? 2500 : getU32(source, k836);
            lines.push_back("filled " + entry + "8 " + std::to_string(entry8) + mark(entry8 == 2500));
            lines.push_back("filled " + entry + "12 1 (default)");
            lines.push_back("filled " + entry + "16 1 (default)");
            lines.push_back("filled " + entry + "20 0 (default)");
        }
    }
    for (std::size_t i = fitting; i < used; ++i) {
        lines.push_back("dropped e" + std::to_string(i + 1) + " -");
    }
    if (pair.from == Version::V700) {
        lines.push_back("dropped 1478 " + bytesAt(1478, 2));
    }
    // Each appended field and its default as shown; a quoted default marks a text slot.
    const std::pair<std::size_t, std::string> appended[] = {
        {k1852, "2"},
        {kEngravingPathSlot, "\"trevak\\engraving_setting\""},
        {k2368, "1"},
        {k2372, "0"},
        {kJobsPathSlot, "\"trevak\\jobs\""},
        {k2888, "1"}};
    for (const auto& [offset, defaultText] : appended) {
        const bool isText = defaultText.starts_with('"');
        const std::size_t end = offset + (isText ? kSlotBytes : 4);
        const bool inSource = end <= source.size();
        const bool inTarget = end <= target.size();
        if (inSource == inTarget) {
            continue;
        }
        const Bytes& holder = inSource ? source : target;
        std::string value;
        if (isText) {
            value = "\"";
            for (std::size_t at = offset; getU16(holder, at) != 0; at += 2) {
                value += static_cast<char>(getU16(holder, at));
            }
            value += "\"";
        } else {
            value = std::to_string(getU32(holder, offset));
        }
        lines.push_back((inSource ? "dropped " : "filled ") + std::to_string(offset) + " " + value +
                        mark(value == defaultText));
    }
    return lines;
}

struct Row {
    const char* what;
    std::uint32_t entries;
    std::function<void(Bytes&)> craft;
    // The row's own changes for the pair, beyond structuralChanges().
    std::function<Lines(VersionPair)> expect;
};

const auto none = [](VersionPair /*pair*/) { return Lines{}; };

// The 848 remap from 8.00 and 8.02 into every older version.
std::function<Lines(VersionPair)> remaps848(std::uint32_t from, std::uint32_t to) {
    return [=](VersionPair pair) {
        if (pair.from >= Version::V800 && pair.to < Version::V800 && from != to) {
            return Lines{"changed 848 " + std::to_string(from) + "->" + std::to_string(to)};
        }
        return Lines{};
    };
}

const Row kRows[] = {
    {"nothing set, no entries", 0, [](Bytes&) {}, none},
    {"16 entries", 16, [](Bytes&) {}, none},
    {"17 entries", 17, [](Bytes&) {}, none},
    {"40 entries", 40, [](Bytes&) {}, none},
    {"848 at 3", 0, [](Bytes& r) { putU32(r, k848, 3); }, remaps848(3, 1)},
    {"848 at 4", 0, [](Bytes& r) { putU32(r, k848, 4); }, remaps848(4, 1)},
    {"848 at 5", 0, [](Bytes& r) { putU32(r, k848, 5); }, remaps848(5, 2)},
    {"848 at 6", 0, [](Bytes& r) { putU32(r, k848, 6); }, remaps848(6, 2)},
    {"848 at 7", 0, [](Bytes& r) { putU32(r, k848, 7); }, remaps848(7, 7)},
    {"788 at 5", 0, [](Bytes& r) { putU32(r, k788, 5); },
     [](VersionPair p) {
         return p.from >= Version::V707 && p.to < Version::V707 ? Lines{"changed 788 5->0"} : Lines{};
     }},
    {"852 at 9", 0, [](Bytes& r) { putU32(r, k852, 9); },
     [](VersionPair p) { return p.to == Version::V604 ? Lines{"changed 852 9->0"} : Lines{}; }},
    {"1852 at 3", 0,
     [](Bytes& r) {
         if (r.size() >= 1856) {
             putU32(r, k1852, 3);
         }
     },
     [](VersionPair p) {
         return p.from == Version::V802 && (p.to == Version::V707 || p.to == Version::V800)
                    ? Lines{"changed 1852 3->2"}
                    : Lines{};
     }},
    // Dropped values of their own (not defaults) come from structuralChanges().
    {"own paths", 0,
     [](Bytes& r) {
         if (r.size() >= 2888) {
             putText(r, kEngravingPathSlot, u"E:\\engrave");
             putText(r, kJobsPathSlot, u"D:\\jobs");
         }
     },
     none},
    {"1000 at 836", 3, [](Bytes& r) { putU32(r, k836, 1000); }, none},
    {"a sixth entry byte and trailing bytes", 2,
     [](Bytes& r) {
         if (r.size() <= 1480) {
             r[kEntryTable + kOldEntryStride + 5] = std::byte{9};
             r[r.size() - 2] = std::byte{0x12};
         }
     },
     none},
    {"an entry value of its own", 2,
     [](Bytes& r) {
         if (r.size() >= 1852) {
             putU32(r, kEntryTable + kNewEntryStride + 12, 7);
         }
     },
     none},
};

TEST(FieldChanges, EachChangeAppearsExactlyWhenTheBytesSaySo) {
    for (const Row& row : kRows) {
        for (const VersionPair& pair : allPairs()) {
            Bytes source = crafted(pair.from, row.entries);
            row.craft(source);
            const Bytes target = convert(pair.from, pair.to, source);
            Lines expected = structuralChanges(pair, source, target);
            for (const std::string& line : row.expect(pair)) {
                expected.push_back(line);
            }
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(changesOf(source, target), expected) << row.what << ", " << pairName(pair);
        }
    }
}

TEST(FieldChanges, KnownCasesReadAsTheyShould) {
    // A round trip 8.00 -> 8.02 of an untouched record fills in 2888 and nothing else.
    const Bytes record800 = crafted(Version::V800, 3);
    EXPECT_EQ(changesOf(record800, convert(Version::V800, Version::V802, record800)),
              Lines{"filled 2888 1 (default)"});
    // A full 8.02 table of its own into 6.04: what does not hold a default.
    Bytes full = crafted(Version::V802, 17);
    putU32(full, k848, 4);
    putU32(full, k788, 5);
    putU32(full, kEntryTable + 8, 1200);
    putText(full, kJobsPathSlot, u"D:\\jobs");
    Lines own = changesOf(full, convert(Version::V802, Version::V604, full));
    std::erase_if(own, [](const std::string& line) { return line.ends_with("(default)"); });
    EXPECT_EQ(own, (Lines{"changed 788 5->0", "changed 848 4->1", "dropped 2376 \"D:\\jobs\"",
                          "dropped e1+8 1200", "dropped e17 -"}));
    // 1000 at 836 of a 7.00-7.04 source is what every widened entry gets at entry offset 8.
    Bytes record700 = crafted(Version::V700, 3);
    putU32(record700, k836, 1000);
    const Lines widened = changesOf(record700, convert(Version::V700, Version::V705, record700));
    EXPECT_EQ(std::count(widened.begin(), widened.end(), "filled e3+8 1000"), 1);
}

// The comparison reads the bytes, not the rules: a target spoilt after
// conversion shows the spoilt fields.
TEST(FieldChanges, ASpoiltTargetShowsUp) {
    const Bytes source = crafted(Version::V802, 2);
    Bytes target = convert(Version::V802, Version::V800, source);
    putU32(target, 792, 5);                                   // a stem value
    target[10] = std::byte{1};                                // a header byte
    target[kEntryTable + kNewEntryStride + 2] = std::byte{0}; // an entry byte
    putText(target, kJobsPathSlot, u"x");                     // a text
    target[kEntryTable + kNewEntryStride * 5] = std::byte{7}; // an unused entry: not reported
    EXPECT_EQ(changesOf(source, target),
              (Lines{"changed 0 -->-", "changed 2376 \"trevak\\jobs\"->\"x\"", "changed 792 0->5",
                     "changed e2+2 3->0", "dropped 2888 1 (default)"}));
}

} // namespace
} // namespace tallowbrook::test
