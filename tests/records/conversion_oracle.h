#pragma once

// What a conversion must leave in its target, computed from the record
// description alone (offsets written out here on purpose, not taken from
// records/layout.h), so the converters are checked against an independent
// statement of the rules rather than against themselves.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "records/version_table.h"
#include "tests/support/record_builder.h"

namespace tallowbrook::test {

// Offsets of the fields the tests look at.
inline constexpr std::size_t kDriverExtraAt = 70;
inline constexpr std::size_t kFirstTextSlot = 276;
inline constexpr std::size_t k788 = 788;
inline constexpr std::size_t kEntryCountAt = 800;
inline constexpr std::size_t k836 = 836;
inline constexpr std::size_t k848 = 848;
inline constexpr std::size_t k852 = 852;
inline constexpr std::size_t kSecondTextSlot = 864;
inline constexpr std::size_t kEntryTable = 1376;
inline constexpr std::size_t k1852 = 1852;
inline constexpr std::size_t kEngravingPathSlot = 1856;
inline constexpr std::size_t k2368 = 2368;
inline constexpr std::size_t k2372 = 2372;
inline constexpr std::size_t kJobsPathSlot = 2376;
inline constexpr std::size_t k2888 = 2888;
inline constexpr std::size_t kSlotBytes = 512;
inline constexpr std::size_t kOldEntryStride = 6;
inline constexpr std::size_t kNewEntryStride = 28;

// What a target buffer holds before a conversion, where a test does not vary it.
inline constexpr std::byte kFill{0xCD};

// The texts the appended path slots default to.
inline constexpr std::u16string_view kEngravingPathDefault = u"trevak\\engraving_setting";
inline constexpr std::u16string_view kJobsPathDefault = u"trevak\\jobs";

inline constexpr Version kAllVersions[] = {Version::V604, Version::V700, Version::V705,
                                           Version::V707, Version::V800, Version::V802};

struct VersionPair {
    Version from;
    Version to;
};

// The thirty ordered pairs of different versions, source-major; with `keep`, those it keeps.
std::vector<VersionPair> allPairs(bool (*keep)(VersionPair) = nullptr);

// Shows a pair as "6.04 -> 8.02"-style text in failure messages.
inline void PrintTo(const VersionPair& pair, std::ostream* out) {
    *out << info(pair.from).label << " -> " << info(pair.to).label;
}

// "604To700" and the like, for test names.
inline std::string versionName(Version version) {
    return std::string(info(version).suffix.substr(1));
}
inline std::string pairName(VersionPair pair) {
    return versionName(pair.from) + "To" + versionName(pair.to);
}
inline std::string pairTestName(const ::testing::TestParamInfo<VersionPair>& test) {
    return pairName(test.param);
}

inline bool isOlderVersion(Version version) {
    return version <= Version::V700;
}
// Entries a table of the version holds: 16 in 6.04, 17 in every other.
inline std::size_t entryCapacity(Version version) {
    return version == Version::V604 ? 16 : 17;
}
inline std::size_t recordLength(Version version) {
    return info(version).length;
}

// Each target byte: the value the conversion writes, or none when it leaves the byte alone.
using ExpectedRecord = std::vector<std::optional<std::byte>>;

ExpectedRecord expectedConversion(VersionPair pair, const Bytes& source);

// Every written byte has its expected value and every other byte still holds `fill`.
::testing::AssertionResult conformsTo(const ExpectedRecord& expected, const Bytes& target, std::byte fill);

// A record of random bytes shaped like one the driver writes: medium texts
// in both slots and `entryCount` at 800.
Bytes realisticRecord(Version version, std::uint32_t seed, std::uint32_t entryCount = 17);

// `units` non-zero code units and, when `terminated`, a zero unit, at the slot start.
void putTextOfLength(Bytes& record, std::size_t slot, std::size_t units, bool terminated);

// A realistic record whose two text slots both hold such a text.
Bytes recordWithTexts(Version version, std::uint32_t seed, std::uint32_t entryCount, std::size_t units,
                      bool terminated);

} // namespace tallowbrook::test
