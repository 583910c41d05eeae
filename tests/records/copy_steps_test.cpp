// The two copy steps: the field-wise copy between the record families, which
// carries each text only up to its zero unit, and the whole-byte copies (the
// prefix copy within the newer family and 6.04 into 7.00-7.04).

#include <gtest/gtest.h>

#include <tuple>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

bool isFieldwisePair(VersionPair pair) {
    return isOlderVersion(pair.from) != isOlderVersion(pair.to) ||
           (pair.from == Version::V700 && pair.to == Version::V604);
}

struct TextCase {
    const char* name;
    std::size_t units;        // non-zero units written into the slot
    bool terminated;          // followed by a zero unit
    std::size_t carriedUnits; // units the field-wise copy takes from the source
};

const TextCase kTextCases[] = {
    {"Empty", 0, true, 1},           {"Medium", 31, true, 32},
    {"Units254", 254, true, 255},    {"Units255ZeroInLastPlace", 255, true, 256},
    {"NoZeroUnit", 256, false, 255},
};

class FieldwiseTextCarry
    : public ::testing::TestWithParam<std::tuple<VersionPair, std::size_t, std::size_t>> {};

TEST_P(FieldwiseTextCarry, TakesUnitsUpToTheFirstZeroUnitAndNothingBehind) {
    const auto [pair, caseIndex, slot] = GetParam();
    const TextCase& text = kTextCases[caseIndex];
    Bytes source = realisticRecord(pair.from, 31);
    putTextOfLength(source, slot, text.units, text.terminated);
    const Bytes target = convert(pair.from, pair.to, source, kFill);

    const std::size_t carriedBytes = 2 * text.carriedUnits;
    for (std::size_t i = 0; i < kSlotBytes; ++i) {
        if (!text.terminated && i >= 510) {
            // A slot without a zero unit ends terminated in the target.
            EXPECT_EQ(target[slot + i], std::byte{0}) << "slot byte " << i;
        } else if (i < carriedBytes) {
            EXPECT_EQ(target[slot + i], source[slot + i]) << "slot byte " << i;
        } else {
            EXPECT_EQ(target[slot + i], kFill) << "slot byte " << i << " lies behind the zero unit";
        }
    }
    // The fields either side of the slot are carried, untouched by the text copy.
    EXPECT_EQ(getU32(target, slot - 4), getU32(source, slot - 4));
    EXPECT_TRUE(conformsTo(expectedConversion(pair, source), target, kFill));
}

INSTANTIATE_TEST_SUITE_P(BetweenFamilies, FieldwiseTextCarry,
                         ::testing::Combine(::testing::ValuesIn(allPairs(isFieldwisePair)),
                                            ::testing::Range<std::size_t>(0, std::size(kTextCases)),
                                            ::testing::Values(kFirstTextSlot, kSecondTextSlot)),
                         [](const auto& test) {
                             return pairName(std::get<0>(test.param)) +
                                    kTextCases[std::get<1>(test.param)].name + "At" +
                                    std::to_string(std::get<2>(test.param));
                         });

class FieldwiseStem : public ::testing::TestWithParam<VersionPair> {};

// Values and blocks of the stem that no value rule touches reach the target as they are.
TEST_P(FieldwiseStem, CarriesEveryPlainValueAndBlock) {
    const VersionPair pair = GetParam();
    const Bytes source = randomRecord(pair.from, 32);
    const Bytes target = convert(pair.from, pair.to, source, kFill);
    for (const std::size_t offset : {220u, 224u, 228u, 256u, 260u, 264u, 268u, 272u, 792u, 796u, 800u, 804u,
                                     828u, 832u, 836u, 840u, 844u, 856u, 860u}) {
        EXPECT_EQ(getU32(target, offset), getU32(source, offset)) << "value at " << offset;
    }
    for (const auto& [begin, end] : {std::pair{232u, 256u}, std::pair{808u, 828u}}) {
        for (std::size_t i = begin; i < end; ++i) {
            EXPECT_EQ(target[i], source[i]) << "block byte " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BetweenFamilies, FieldwiseStem, ::testing::ValuesIn(allPairs(isFieldwisePair)),
                         pairTestName);

class WholeByteCopy : public ::testing::TestWithParam<VersionPair> {};

// The prefix copy (and 6.04 into 7.00-7.04) carries every byte of the shorter
// record: text slots whole, garbage behind terminators, every entry byte and
// the entries beyond the count.
TEST_P(WholeByteCopy, CarriesEveryByteOfTheShorterRecord) {
    const VersionPair pair = GetParam();
    Bytes source = randomRecord(pair.from, 33);
    putTextOfLength(source, kFirstTextSlot, 0, true); // garbage behind an empty text
    putTextOfLength(source, kSecondTextSlot, 256, false);
    putU32(source, kEntryCountAt, 2);
    // Values no rule of any pair changes, so the whole prefix must match.
    putU32(source, k788, 0);
    putU32(source, k848, 7);
    putU32(source, k852, 0);
    const Bytes target = convert(pair.from, pair.to, source, kFill);

    const std::size_t shorter = std::min(recordLength(pair.from), recordLength(pair.to));
    for (std::size_t i = 0; i < shorter; ++i) {
        if (i != 70 && i != 71 && i != k1852) {
            ASSERT_EQ(target[i], source[i]) << "byte " << i;
        }
    }
    EXPECT_TRUE(conformsTo(expectedConversion(pair, source), target, kFill));
}

INSTANTIATE_TEST_SUITE_P(WithinAFamily, WholeByteCopy, ::testing::ValuesIn(allPairs([](VersionPair pair) {
                             return !isFieldwisePair(pair);
                         })),
                         pairTestName);

TEST(WholeCopy604To700, EqualsTheSourceAndLeavesTheLastEightBytes) {
    Bytes source = randomRecord(Version::V604, 34);
    putU32(source, kEntryCountAt, 3);
    const Bytes target = convert(Version::V604, Version::V700, source, kFill);
    for (std::size_t i = 0; i < 1472; ++i) {
        if (i != 70 && i != 71) {
            ASSERT_EQ(target[i], source[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(getU16(target, kDriverExtraAt), 1260);
    for (std::size_t i = 1472; i < 1480; ++i) {
        EXPECT_EQ(target[i], kFill) << "byte " << i;
    }
}

} // namespace
} // namespace tallowbrook::test
