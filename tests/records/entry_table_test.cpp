// Narrowing 28-byte entries into 6-byte ones and widening them back, bounded
// by the entry count and the capacities of both tables; the count itself is
// always carried unchanged.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

constexpr std::uint32_t kValueAt836 = 1000;
constexpr std::uint32_t kCounts[] = {0, 3, 16, 17, 18, 0xFFFF'FFFFu};

// Entries converted: the count, but no more than 16 when either side is 6.04, else 17.
std::size_t convertedEntries(VersionPair pair, std::uint32_t count) {
    const bool touches604 = pair.from == Version::V604 || pair.to == Version::V604;
    return std::min<std::size_t>(count, touches604 ? 16 : 17);
}

class EntryWidth : public ::testing::TestWithParam<std::tuple<VersionPair, std::uint32_t>> {
protected:
    void SetUp() override {
        std::tie(m_pair, m_count) = GetParam();
        m_source = realisticRecord(m_pair.from, 51, m_count);
        putU32(m_source, k836, kValueAt836);
        m_target = convert(m_pair.from, m_pair.to, m_source, kFill);
    }

    void expectFill(std::size_t from, std::size_t length, const char* what, std::size_t entry) const {
        for (std::size_t i = from; i < from + length; ++i) {
            EXPECT_EQ(m_target[i], kFill) << what << " of entry " << entry << ", byte " << i;
        }
    }

    VersionPair m_pair{};
    std::uint32_t m_count = 0;
    Bytes m_source;
    Bytes m_target;
};

TEST_P(EntryWidth, CarriesTheCountAnd836Unchanged) {
    EXPECT_EQ(getU32(m_target, kEntryCountAt), m_count);
    EXPECT_EQ(getU32(m_target, k836), kValueAt836);
}

TEST_P(EntryWidth, ConvertsTheUsedEntriesThatFitAndLeavesTheRest) {
    const std::size_t used = convertedEntries(m_pair, m_count);
    const bool widening = isOlderVersion(m_pair.from);
    const std::size_t sourceStride = widening ? kOldEntryStride : kNewEntryStride;
    const std::size_t targetStride = widening ? kNewEntryStride : kOldEntryStride;
    for (std::size_t i = 0; i < entryCapacity(m_pair.to); ++i) {
        const std::size_t from = kEntryTable + sourceStride * i;
        const std::size_t to = kEntryTable + targetStride * i;
        if (i >= used) {
            expectFill(to, targetStride, "unused", i);
            continue;
        }
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_EQ(m_target[to + k], m_source[from + k]) << "entry " << i << " byte " << k;
        }
        if (widening) {
            const std::uint32_t offset8 = m_pair.from == Version::V604 ? 2500u : kValueAt836;
            EXPECT_EQ(getU32(m_target, to + 8), offset8) << "entry " << i;
            EXPECT_EQ(getU32(m_target, to + 12), 1u) << "entry " << i;
            EXPECT_EQ(getU32(m_target, to + 16), 1u) << "entry " << i;
            EXPECT_EQ(getU32(m_target, to + 20), 0u) << "entry " << i;
            expectFill(to + 5, 3, "offsets 5-7", i);
            expectFill(to + 24, 4, "offsets 24-27", i);
        } else {
            expectFill(to + 5, 1, "offset 5", i);
        }
    }
    if (m_pair.to == Version::V700) {
        expectFill(1478, 2, "trailing bytes", 17);
    }
}

INSTANTIATE_TEST_SUITE_P(BetweenFamilies, EntryWidth,
                         ::testing::Combine(::testing::ValuesIn(allPairs([](VersionPair pair) {
                                                return isOlderVersion(pair.from) != isOlderVersion(pair.to);
                                            })),
                                            ::testing::ValuesIn(kCounts)),
                         [](const auto& test) {
                             return pairName(std::get<0>(test.param)) + "Count" +
                                    std::to_string(std::get<1>(test.param));
                         });

class Entries700To604 : public ::testing::TestWithParam<std::uint32_t> {};

// Into 6.04 the 7.00-7.04 table is cut to its first 16 entries as whole bytes,
// whatever the count says; the 17th entry is lost and the count stays.
TEST_P(Entries700To604, CopiesSixteenWholeEntriesWhateverTheCount) {
    const std::uint32_t count = GetParam();
    const Bytes source = realisticRecord(Version::V700, 52, count);
    const Bytes target = convert(Version::V700, Version::V604, source, kFill);
    for (std::size_t i = kEntryTable; i < 1472; ++i) {
        ASSERT_EQ(target[i], source[i]) << "byte " << i;
    }
    EXPECT_EQ(getU32(target, kEntryCountAt), count);
}

INSTANTIATE_TEST_SUITE_P(Counts, Entries700To604, ::testing::ValuesIn(kCounts));

} // namespace
} // namespace tallowbrook::test
