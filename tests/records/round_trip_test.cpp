// Conversions there and back: what comes back and what is lost.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

// A record taken from `version` to `via` and back, each target starting filled
// with its fill; what comes back is `expected`: the original but what is lost.
struct RoundTrip {
    std::string name;
    Version version, via;
    std::byte thereFill, backFill;
    Bytes original, expected;
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
    *out << trip.name;
}

// A record with 40-unit texts in both slots and 852 set.
Bytes withTexts(Version version, std::uint32_t seed, std::uint32_t count, std::uint32_t codePage) {
    Bytes record = recordWithTexts(version, seed, count, 40, true);
    putU32(record, 68, (codePage << 16) | 0x00DCu);
    putU32(record, k852, 0x5555'0001u);
    return record;
}

// The field-wise copy back into 6.04 drops what lies behind each text's zero
// unit, so those bytes keep the fill of the final target; 852 comes back as 0.
Bytes without852AndTextTails(Bytes record) {
    putU32(record, k852, 0);
    for (const std::size_t slot : {kFirstTextSlot, kSecondTextSlot}) {
        std::fill(record.begin() + static_cast<std::ptrdiff_t>(slot + 2 * 41),
                  record.begin() + static_cast<std::ptrdiff_t>(slot + kSlotBytes), kFill);
    }
    return record;
}

std::vector<RoundTrip> roundTrips() {
    using enum Version;
    std::vector<RoundTrip> trips;
    // Through 8.02, every 8.00 byte comes back, unless 1852 was 3.
    for (const std::uint32_t at1852 : {0u, 1u, 2u, 3u, 4u, 0xFFFF'FFFFu}) {
        Bytes original = randomRecord(V800, 71);
        putU32(original, 68, (2668u << 16) | 0x00DCu); // a well-formed dmDriverExtra
        putU32(original, k1852, at1852);
        putU32(original, k848, 5); // no remap between 8.00 and 8.02
        Bytes expected = original;
        putU32(expected, k1852, at1852 == 3 ? 2 : at1852);
        trips.push_back({"From800Via802With1852At" + std::to_string(at1852), V800, V802, std::byte{0},
                         std::byte{0}, original, expected});
    }
    for (const std::uint32_t count : {0u, 3u, 16u, 17u}) {
        // A 6.04 record through 7.00 comes back but for 852 and the text tails.
        const Bytes from604 = withTexts(V604, 72, count, 1252);
        trips.push_back({"From604Via700With" + std::to_string(count) + "Entries", V604, V700, std::byte{0},
                         kFill, from604, without852AndTextTails(from604)});
        // A 7.00 record through 6.04 loses the 17th entry too. The 6.04 record
        // in between starts filled; the whole copy back carries its text tails.
        const Bytes from700 = withTexts(V700, 73, count, 1260);
        Bytes expected = without852AndTextTails(from700);
        std::fill(expected.begin() + 1472, expected.begin() + 1480, kFill);
        trips.push_back({"From700Via604With" + std::to_string(count) + "Entries", V700, V604, kFill, kFill,
                         from700, expected});
    }
    return trips;
}

class RoundTrips : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTrips, GiveBackTheRecordButWhatIsLost) {
    const RoundTrip& trip = GetParam();
    const Bytes back = convert(trip.via, trip.version,
                               convert(trip.version, trip.via, trip.original, trip.thereFill), trip.backFill);
    EXPECT_EQ(back, trip.expected);
}

INSTANTIATE_TEST_SUITE_P(ThereAndBack, RoundTrips, ::testing::ValuesIn(roundTrips()),
                         [](const auto& row) { return row.param.name; });

} // namespace
} // namespace tallowbrook::test
