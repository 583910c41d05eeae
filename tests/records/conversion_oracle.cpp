#include "tests/records/conversion_oracle.h"

#include <algorithm>
#include <sstream>

#include "records/byte_order.h"

namespace tallowbrook::test {
namespace {

constexpr std::size_t kSlotUnits = 256;

// Builds the expected target of one conversion step by step, the way the
// description lists the steps.
class ExpectedBuilder {
public:
    ExpectedBuilder(VersionPair pair, const Bytes& source)
        : m_pair(pair), m_source(source), m_target(recordLength(pair.to)) {}

    ExpectedRecord take() { return std::move(m_target); }

    void copy(std::size_t offset, std::size_t length) {
        for (std::size_t i = offset; i < offset + length; ++i) {
            m_target[i] = m_source[i];
        }
    }

    // `value` as `width` little-endian bytes.
    void put(std::size_t offset, std::uint32_t value, std::size_t width = 4) {
        for (std::size_t i = 0; i < width; ++i) {
            m_target[offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFu);
        }
    }

    void putText(std::size_t slot, std::u16string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            put(slot + 2 * i, text[i], 2);
        }
        put(slot + 2 * text.size(), 0, 2);
    }

    // Units up to and including the first zero unit; a slot without one gives
    // its first 255 units and a zero unit in the last place.
    void carryText(std::size_t slot) {
        for (std::size_t unit = 0; unit + 1 < kSlotUnits; ++unit) {
            const std::size_t at = slot + 2 * unit;
            copy(at, 2);
            if (getU16(m_source, at) == 0) {
                return;
            }
        }
        put(slot + 2 * (kSlotUnits - 1), 0, 2);
    }

    // Header, stem values, blocks and both text slots, offsets 0 to 1375.
    void fieldwiseStem() {
        copy(0, 220);
        copy(220, 56);
        carryText(kFirstTextSlot);
        copy(788, 76);
        carryText(kSecondTextSlot);
    }

    std::size_t entriesToConvert() const {
        const std::uint64_t count = getU32(m_source, kEntryCountAt);
        return static_cast<std::size_t>(
            std::min<std::uint64_t>({count, entryCapacity(m_pair.from), entryCapacity(m_pair.to)}));
    }

    // Between the families each converted entry keeps its first five bytes;
    // a widened one also gets its four values.
    void convertEntries() {
        const bool widen = isOlderVersion(m_pair.from);
        const std::uint32_t offset8 = m_pair.from == Version::V604 ? 2500u : getU32(m_source, k836);
        for (std::size_t i = 0; i < entriesToConvert(); ++i) {
            const std::size_t from = kEntryTable + (widen ? kOldEntryStride : kNewEntryStride) * i;
            const std::size_t to = kEntryTable + (widen ? kNewEntryStride : kOldEntryStride) * i;
            for (std::size_t k = 0; k < 5; ++k) {
                m_target[to + k] = m_source[from + k];
            }
            if (widen) {
                put(to + 8, offset8);
                put(to + 12, 1);
                put(to + 16, 1);
                put(to + 20, 0);
            }
        }
    }

    void applyValueRules() {
        const Version from = m_pair.from;
        const Version to = m_pair.to;
        if (from >= Version::V707 && to <= Version::V705) {
            put(k788, 0);
        }
        if (from >= Version::V800 && to <= Version::V707) {
            const std::uint32_t value = getU32(m_source, k848);
            put(k848, value == 3 || value == 4 ? 1u : value == 5 || value == 6 ? 2u : value);
        }
        if (to == Version::V604) {
            put(k852, 0);
        }
        if (from == Version::V802 && (to == Version::V707 || to == Version::V800)) {
            const std::uint32_t value = getU32(m_source, k1852);
            put(k1852, value == 3 ? 2u : value);
        }
    }

    // Fields the target has and the source lacks get their defaults.
    void appendDefaults() {
        const std::size_t sourceLength = recordLength(m_pair.from);
        const std::size_t targetLength = recordLength(m_pair.to);
        if (sourceLength <= k1852 && targetLength > k1852) {
            put(k1852, 2);
        }
        if (sourceLength <= kEngravingPathSlot && targetLength > kEngravingPathSlot) {
            putText(kEngravingPathSlot, kEngravingPathDefault);
            put(k2368, 1);
            put(k2372, 0);
            putText(kJobsPathSlot, kJobsPathDefault);
        }
        if (sourceLength <= k2888 && targetLength > k2888) {
            put(k2888, 1);
        }
    }

private:
    VersionPair m_pair;
    const Bytes& m_source;
    ExpectedRecord m_target;
};

} // namespace

std::vector<VersionPair> allPairs(bool (*keep)(VersionPair)) {
    std::vector<VersionPair> pairs;
    for (const Version from : kAllVersions) {
        for (const Version to : kAllVersions) {
            if (from != to && (keep == nullptr || keep({from, to}))) {
                pairs.push_back({from, to});
            }
        }
    }
    return pairs;
}

ExpectedRecord expectedConversion(VersionPair pair, const Bytes& source) {
    ExpectedBuilder target(pair, source);
    const bool olderSource = isOlderVersion(pair.from);
    const bool olderTarget = isOlderVersion(pair.to);
    if (pair.from == Version::V604 && pair.to == Version::V700) {
        target.copy(0, 1472); // whole copy
    } else if (pair.from == Version::V700 && pair.to == Version::V604) {
        target.fieldwiseStem();
        target.copy(kEntryTable, 96); // the first 16 entries as one block
    } else if (olderSource != olderTarget) {
        target.fieldwiseStem();
        target.convertEntries();
    } else {
        target.copy(0, std::min(recordLength(pair.from), recordLength(pair.to))); // prefix copy
    }
    target.put(kDriverExtraAt, static_cast<std::uint32_t>(recordLength(pair.to) - 220), 2);
    target.applyValueRules();
    target.appendDefaults();
    return target.take();
}

::testing::AssertionResult conformsTo(const ExpectedRecord& expected, const Bytes& target, std::byte fill) {
    if (expected.size() != target.size()) {
        return ::testing::AssertionFailure()
               << "target has " << target.size() << " bytes, expected " << expected.size();
    }
    std::ostringstream wrong;
    std::size_t wrongCount = 0;
    for (std::size_t i = 0; i < target.size(); ++i) {
        const std::byte want = expected[i].value_or(fill);
        if (target[i] != want && ++wrongCount <= 12) {
            wrong << "\n  byte " << i << ": 0x" << std::hex << std::to_integer<unsigned>(target[i])
                  << ", expected 0x" << std::to_integer<unsigned>(want) << std::dec
                  << (expected[i] ? " (written)" : " (not written, keeps the fill)");
        }
    }
    if (wrongCount == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << wrongCount << " bytes differ:" << wrong.str();
}

void putTextOfLength(Bytes& record, std::size_t slot, std::size_t units, bool terminated) {
    for (std::size_t i = 0; i < units; ++i) {
        // Alternating units with a zero high byte and a zero low byte: a scan
        // for a zero unit that looked at bytes, or at odd offsets, would stop early.
        const std::size_t unit = i % 2 == 0 ? 0x41u + i % 26 : 0x100u * (1 + i % 255);
        writeU16Le(record, slot + 2 * i, static_cast<std::uint16_t>(unit));
    }
    if (terminated) {
        writeU16Le(record, slot + 2 * units, 0);
    }
}

Bytes realisticRecord(Version version, std::uint32_t seed, std::uint32_t entryCount) {
    Bytes record = randomRecord(version, seed);
    putText(record, kFirstTextSlot, u"C:\\Users\\engraver\\Documents\\plates\\nameplate_2mm.svg");
    putText(record, kSecondTextSlot, u"Walnut veneer, 40 W, two passes");
    putU32(record, kEntryCountAt, entryCount);
    return record;
}

Bytes recordWithTexts(Version version, std::uint32_t seed, std::uint32_t entryCount, std::size_t units,
                      bool terminated) {
    Bytes record = realisticRecord(version, seed, entryCount);
    putTextOfLength(record, kFirstTextSlot, units, terminated);
    putTextOfLength(record, kSecondTextSlot, units, terminated);
    return record;
}

} // namespace tallowbrook::test
