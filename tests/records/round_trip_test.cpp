// Conversions there and back: what comes back and what is lost.

#include <gtest/gtest.h>

#include <functional>

#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

constexpr std::byte kFill{0xCD};

// A record taken from `version` to `via` and back, each target starting filled
// with its fill; what comes back is the original with the changes `lost` makes.
struct RoundTrip {
    std::string name;
    Version version, via;
    std::byte thereFill, backFill;
    Bytes original;
    std::function<void(Bytes& expected)> lost;
};

void PrintTo(const RoundTrip& trip, std::ostream* out) {
    *out << trip.name;
}

// The field-wise copy back into 6.04 drops what lies behind each text's zero
// unit (40 units here), so those bytes keep the fill of the final target; 852
// comes back as 0.
void lose852AndTextTails(Bytes& expected) {
    putU32(expected, k852, 0);
    for (const std::size_t slot : {kFirstTextSlot, kSecondTextSlot}) {
        std::fill(expected.begin() + static_cast<std::ptrdiff_t>(slot + 2 * 41),
                  expected.begin() + static_cast<std::ptrdiff_t>(slot + kSlotBytes), kFill);
    }
}

Bytes with604Texts(Version version, std::uint32_t seed, std::uint32_t count, std::uint32_t codePage) {
    Bytes record = realisticRecord(version, seed, count);
    putU32(record, 68, (codePage << 16) | 0x00DCu);
    putTextOfLength(record, kFirstTextSlot, 40, true);
    putTextOfLength(record, kSecondTextSlot, 40, true);
    putU32(record, k852, 0x5555'0001u);
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
        trips.push_back({"From800Via802With1852At" + std::to_string(at1852), V800, V802, std::byte{0},
                         std::byte{0}, original, [at1852](Bytes& expected) {
                             if (at1852 == 3) {
                                 putU32(expected, k1852, 2);
                             }
                         }});
    }
    for (const std::uint32_t count : {0u, 3u, 16u, 17u}) {
        // A 6.04 record through 7.00 comes back but for 852 and the text tails.
        trips.push_back({"From604Via700With" + std::to_string(count) + "Entries", V604, V700, std::byte{0},
                         kFill, with604Texts(V604, 72, count, 1252), lose852AndTextTails});
        // A 7.00 record through 6.04 loses the 17th entry too. The 6.04 record
        // in between starts filled; the whole copy back carries its text tails.
        trips.push_back({"From700Via604With" + std::to_string(count) + "Entries", V700, V604, kFill, kFill,
                         with604Texts(V700, 73, count, 1260), [](Bytes& expected) {
                             lose852AndTextTails(expected);
                             std::fill(expected.begin() + 1472, expected.begin() + 1480, kFill);
                         }});
    }
    return trips;
}

class RoundTrips : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTrips, GiveBackTheRecordButWhatIsLost) {
    const RoundTrip& trip = GetParam();
    const Bytes back = convert(trip.via, trip.version,
                               convert(trip.version, trip.via, trip.original, trip.thereFill), trip.backFill);
    Bytes expected = trip.original;
    trip.lost(expected);
    EXPECT_EQ(back, expected);
}

INSTANTIATE_TEST_SUITE_P(ThereAndBack, RoundTrips, ::testing::ValuesIn(roundTrips()),
                         [](const auto& row) { return row.param.name; });

} // namespace
} // namespace tallowbrook::test
