// Defaults for the fields a target version appends and its source lacks, and
// the rule that a default never replaces a value the source holds.

#include <gtest/gtest.h>

#include <tuple>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

static_assert(kEngravingPathDefault.size() == 24 && kJobsPathDefault.size() == 11);

class AppendedDefaults : public ::testing::TestWithParam<std::tuple<VersionPair, std::byte>> {
protected:
    // The text as UTF-16LE, its zero unit, and the rest of the slot untouched.
    void expectDefaultText(const Bytes& target, std::size_t slot, std::u16string_view text,
                           std::byte fill) const {
        for (std::size_t i = 0; i < text.size(); ++i) {
            EXPECT_EQ(getU16(target, slot + 2 * i), text[i]) << slot << " unit " << i;
        }
        EXPECT_EQ(getU16(target, slot + 2 * text.size()), 0) << slot << " terminator";
        for (std::size_t i = slot + 2 * text.size() + 2; i < slot + kSlotBytes; ++i) {
            ASSERT_EQ(target[i], fill) << "byte " << i << " behind the default text";
        }
    }
};

TEST_P(AppendedDefaults, FillEveryFieldTheSourceLacks) {
    const auto [pair, fill] = GetParam();
    const Bytes source = realisticRecord(pair.from, 61);
    const Bytes target = convert(pair.from, pair.to, source, fill);
    const std::size_t sourceLength = recordLength(pair.from);
    const std::size_t targetLength = recordLength(pair.to);

    if (sourceLength <= k1852) {
        EXPECT_EQ(getU32(target, k1852), 2u);
    }
    if (sourceLength <= kEngravingPathSlot && targetLength > kEngravingPathSlot) {
        expectDefaultText(target, kEngravingPathSlot, kEngravingPathDefault, fill);
        EXPECT_EQ(getU32(target, k2368), 1u);
        EXPECT_EQ(getU32(target, k2372), 0u);
        expectDefaultText(target, kJobsPathSlot, kJobsPathDefault, fill);
    }
    if (targetLength > k2888) {
        EXPECT_EQ(getU32(target, k2888), 1u);
    }
    EXPECT_TRUE(conformsTo(expectedConversion(pair, source), target, fill));
}

INSTANTIATE_TEST_SUITE_P(Growing, AppendedDefaults,
                         ::testing::Combine(::testing::ValuesIn(allPairs([](VersionPair pair) {
                                                return recordLength(pair.to) > recordLength(pair.from) &&
                                                       recordLength(pair.to) > k1852;
                                            })),
                                            ::testing::Values(std::byte{0x00}, std::byte{0xCD})),
                         [](const auto& test) {
                             return pairName(std::get<0>(test.param)) + "Fill" +
                                    std::to_string(std::to_integer<unsigned>(std::get<1>(test.param)));
                         });

TEST(AppendedDefaults, NeverReplaceWhatTheSourceHolds) {
    Bytes from707 = realisticRecord(Version::V707, 62);
    putU32(from707, k1852, 7);
    EXPECT_EQ(getU32(convert(Version::V707, Version::V800, from707), k1852), 7u);
    EXPECT_EQ(getU32(convert(Version::V707, Version::V802, from707), k1852), 7u);

    // 8.00 into 8.02 keeps both paths and the values between them, and adds only 2888.
    Bytes from800 = randomRecord(Version::V800, 63);
    putText(from800, kEngravingPathSlot, u"D:\\laser\\settings");
    putText(from800, kJobsPathSlot, u"D:\\laser\\queue");
    const Bytes target = convert(Version::V800, Version::V802, from800, std::byte{0xCD});
    for (std::size_t i = kEngravingPathSlot; i < k2888; ++i) {
        ASSERT_EQ(target[i], from800[i]) << "byte " << i;
    }
    EXPECT_EQ(getU32(target, k2888), 1u);
}

} // namespace
} // namespace tallowbrook::test
