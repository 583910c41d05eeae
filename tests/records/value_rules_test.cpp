// The four value rules (788 reset, 848 remap, 852 reset, 1852 remap) over
// every pair, from a table written out pair by pair.

#include <gtest/gtest.h>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

using V = Version;

enum class Rule1852 { Absent, Default, Carry, Remap };

struct RuleRow {
    VersionPair pair;
    bool resets788;
    bool remaps848;
    bool resets852;
    Rule1852 at1852;
};

// One row per pair.
const RuleRow kRuleRows[] = {
    {{V::V604, V::V700}, false, false, false, Rule1852::Absent},
    {{V::V604, V::V705}, false, false, false, Rule1852::Absent},
    {{V::V604, V::V707}, false, false, false, Rule1852::Default},
    {{V::V604, V::V800}, false, false, false, Rule1852::Default},
    {{V::V604, V::V802}, false, false, false, Rule1852::Default},
    {{V::V700, V::V604}, false, false, true, Rule1852::Absent},
    {{V::V700, V::V705}, false, false, false, Rule1852::Absent},
    {{V::V700, V::V707}, false, false, false, Rule1852::Default},
    {{V::V700, V::V800}, false, false, false, Rule1852::Default},
    {{V::V700, V::V802}, false, false, false, Rule1852::Default},
    {{V::V705, V::V604}, false, false, true, Rule1852::Absent},
    {{V::V705, V::V700}, false, false, false, Rule1852::Absent},
    {{V::V705, V::V707}, false, false, false, Rule1852::Default},
    {{V::V705, V::V800}, false, false, false, Rule1852::Default},
    {{V::V705, V::V802}, false, false, false, Rule1852::Default},
    {{V::V707, V::V604}, true, false, true, Rule1852::Absent},
    {{V::V707, V::V700}, true, false, false, Rule1852::Absent},
    {{V::V707, V::V705}, true, false, false, Rule1852::Absent},
    {{V::V707, V::V800}, false, false, false, Rule1852::Carry},
    {{V::V707, V::V802}, false, false, false, Rule1852::Carry},
    {{V::V800, V::V604}, true, true, true, Rule1852::Absent},
    {{V::V800, V::V700}, true, true, false, Rule1852::Absent},
    {{V::V800, V::V705}, true, true, false, Rule1852::Absent},
    {{V::V800, V::V707}, false, true, false, Rule1852::Carry},
    {{V::V800, V::V802}, false, false, false, Rule1852::Carry},
    {{V::V802, V::V604}, true, true, true, Rule1852::Absent},
    {{V::V802, V::V700}, true, true, false, Rule1852::Absent},
    {{V::V802, V::V705}, true, true, false, Rule1852::Absent},
    {{V::V802, V::V707}, false, true, false, Rule1852::Remap},
    {{V::V802, V::V800}, false, false, false, Rule1852::Remap},
};

class ValueRules : public ::testing::TestWithParam<RuleRow> {
protected:
    std::uint32_t convertedValue(std::size_t offset, std::uint32_t value) const {
        const RuleRow& row = GetParam();
        Bytes source = realisticRecord(row.pair.from, 41);
        putU32(source, offset, value);
        return getU32(convert(row.pair.from, row.pair.to, source, std::byte{0xCD}), offset);
    }
};

TEST_P(ValueRules, The788Reset) {
    for (const std::uint32_t value : {0u, 1u, 0x1234'5678u, 0x8000'0000u, 0xFFFF'FFFFu}) {
        EXPECT_EQ(convertedValue(k788, value), GetParam().resets788 ? 0u : value) << value;
    }
}

TEST_P(ValueRules, The848Remap) {
    // Each value and, below it, what the remap makes of it.
    constexpr std::uint32_t kValues[] = {0, 1, 2, 3, 4, 5, 6, 7, 0x8000'0003u, 0x0000'0103u, 0xFFFF'FFFFu};
    constexpr std::uint32_t kRemapped[] = {0, 1, 2, 1, 1, 2, 2, 7, 0x8000'0003u, 0x0000'0103u, 0xFFFF'FFFFu};
    static_assert(std::size(kValues) == std::size(kRemapped));
    for (std::size_t i = 0; i < std::size(kValues); ++i) {
        const std::uint32_t expected = GetParam().remaps848 ? kRemapped[i] : kValues[i];
        EXPECT_EQ(convertedValue(k848, kValues[i]), expected) << kValues[i];
    }
}

TEST_P(ValueRules, The852Reset) {
    for (const std::uint32_t value : {0u, 7u, 0xDEAD'BEEFu}) {
        EXPECT_EQ(convertedValue(k852, value), GetParam().resets852 ? 0u : value) << value;
    }
}

TEST_P(ValueRules, At1852IsRemappedCarriedOrDefaulted) {
    const RuleRow& row = GetParam();
    if (row.at1852 == Rule1852::Absent) {
        // Nothing to look at, as long as the row is right that the target has no 1852.
        EXPECT_LE(recordLength(row.pair.to), k1852);
        return;
    }
    for (const std::uint32_t value : {0u, 1u, 2u, 3u, 4u, 0x8000'0003u}) {
        Bytes source = realisticRecord(row.pair.from, 42);
        if (recordLength(row.pair.from) > k1852) {
            putU32(source, k1852, value);
        }
        const std::uint32_t result = getU32(convert(row.pair.from, row.pair.to, source), k1852);
        switch (row.at1852) {
        case Rule1852::Default:
            EXPECT_EQ(result, 2u);
            break;
        case Rule1852::Carry:
            EXPECT_EQ(result, value);
            break;
        case Rule1852::Remap:
            EXPECT_EQ(result, value == 3 ? 2u : value) << value;
            break;
        case Rule1852::Absent:
            break;
        }
    }
}

// The rules look at the source's value only: what the target held before does not matter.
TEST_P(ValueRules, DependOnlyOnTheSource) {
    const RuleRow& row = GetParam();
    Bytes source = realisticRecord(row.pair.from, 43);
    putU32(source, k848, 4);
    const Bytes onZeros = convert(row.pair.from, row.pair.to, source, std::byte{0x00});
    const Bytes onFill = convert(row.pair.from, row.pair.to, source, std::byte{0x03});
    for (const std::size_t offset : {k788, k848, k852}) {
        EXPECT_EQ(getU32(onZeros, offset), getU32(onFill, offset)) << offset;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPairs, ValueRules, ::testing::ValuesIn(kRuleRows),
                         [](const auto& test) { return pairName(test.param.pair); });

TEST(ValueRuleTable, CoversEveryPairOnce) {
    const std::vector<VersionPair> pairs = allPairs();
    ASSERT_EQ(std::size(kRuleRows), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(kRuleRows[i].pair.from, pairs[i].from);
        EXPECT_EQ(kRuleRows[i].pair.to, pairs[i].to);
    }
}

} // namespace
} // namespace tallowbrook::test
