// Conversions there and back: what comes back and what is lost.

#include <gtest/gtest.h>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

constexpr std::byte kFill{0xCD};

TEST(RoundTrip, Through802GivesBackEvery800ByteUnless1852Was3) {
    for (const std::uint32_t at1852 : {0u, 1u, 2u, 3u, 4u, 0xFFFF'FFFFu}) {
        Bytes original = randomRecord(Version::V800, 71);
        putU32(original, 68, (2668u << 16) | 0x00DCu); // a well-formed dmDriverExtra
        putU32(original, k1852, at1852);
        putU32(original, k848, 5); // no remap between 8.00 and 8.02
        const Bytes back =
            convert(Version::V802, Version::V800, convert(Version::V800, Version::V802, original));
        Bytes expected = original;
        if (at1852 == 3) {
            putU32(expected, k1852, 2);
        }
        EXPECT_EQ(back, expected) << "value at 1852: " << at1852;
    }
}

// The field-wise copy back into 6.04 drops what lies behind each text's zero
// unit, so those bytes keep the fill of the final target.
void expectBehindTextsKeepFill(Bytes& expected, std::size_t mediumTextUnits) {
    for (const std::size_t slot : {kFirstTextSlot, kSecondTextSlot}) {
        for (std::size_t i = slot + 2 * (mediumTextUnits + 1); i < slot + kSlotBytes; ++i) {
            expected[i] = kFill;
        }
    }
}

TEST(RoundTrip, ThroughVersion700GivesBackA604RecordBut852AndTextTails) {
    for (const std::uint32_t count : {0u, 3u, 16u, 17u}) {
        Bytes original = realisticRecord(Version::V604, 72, count);
        putU32(original, 68, (1252u << 16) | 0x00DCu);
        putTextOfLength(original, kFirstTextSlot, 40, true);
        putTextOfLength(original, kSecondTextSlot, 40, true);
        putU32(original, k852, 0x5555'0001u);
        const Bytes back =
            convert(Version::V700, Version::V604, convert(Version::V604, Version::V700, original), kFill);
        Bytes expected = original;
        putU32(expected, k852, 0);
        expectBehindTextsKeepFill(expected, 40);
        EXPECT_EQ(back, expected) << "entry count " << count;
    }
}

TEST(RoundTrip, Through604GivesBackA700RecordButThe17thEntry852AndTextTails) {
    for (const std::uint32_t count : {0u, 3u, 16u, 17u}) {
        Bytes original = realisticRecord(Version::V700, 73, count);
        putU32(original, 68, (1260u << 16) | 0x00DCu);
        putTextOfLength(original, kFirstTextSlot, 40, true);
        putTextOfLength(original, kSecondTextSlot, 40, true);
        putU32(original, k852, 0x5555'0001u);
        // The 6.04 record in between starts filled too; the whole copy back carries its text tails.
        const Bytes back = convert(Version::V604, Version::V700,
                                   convert(Version::V700, Version::V604, original, kFill), kFill);
        Bytes expected = original;
        putU32(expected, k852, 0);
        expectBehindTextsKeepFill(expected, 40);
        for (std::size_t i = 1472; i < 1480; ++i) {
            expected[i] = kFill;
        }
        EXPECT_EQ(back, expected) << "entry count " << count;
    }
}

} // namespace
} // namespace tallowbrook::test
