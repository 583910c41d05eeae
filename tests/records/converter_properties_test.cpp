// Properties every one of the thirty converters has, checked through the
// dispatch table: the exact set of written bytes and their values, the
// header rule, an untouched source, repeatable output and hostile input.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "convert/dispatch.h"
#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

// dmDriverExtra of each version, as the version table of the description lists it.
constexpr std::array<std::uint16_t, kVersionCount> kDriverExtra{1252, 1260, 1632, 1636, 2668, 2672};

struct SourceKind {
    const char* name;
    Bytes (*make)(Version version);
};

// Sources from well formed to hostile; none of them may make a converter
// read or write outside its buffers.
const SourceKind kSourceKinds[] = {
    {"Realistic17", [](Version v) { return realisticRecord(v, 11, 17); }},
    {"Realistic3", [](Version v) { return realisticRecord(v, 12, 3); }},
    {"Count16", [](Version v) { return realisticRecord(v, 13, 16); }},
    {"Count18", [](Version v) { return realisticRecord(v, 14, 18); }},
    {"EmptyTextsNoEntries", [](Version v) { return recordWithTexts(v, 15, 0, 0, true); }},
    {"FullLengthTexts", [](Version v) { return recordWithTexts(v, 16, 5, 255, true); }},
    {"UnterminatedTexts", [](Version v) { return recordWithTexts(v, 17, 17, 256, false); }},
    {"RandomGarbage", [](Version v) { return randomRecord(v, 18); }},
    {"AllOnes", [](Version v) { return Bytes(recordLength(v), std::byte{0xFF}); }},
    {"AllZero", [](Version v) { return Bytes(recordLength(v), std::byte{0x00}); }},
};

constexpr std::byte kFills[] = {std::byte{0x00}, std::byte{0xCD}};

class WrittenBytes : public ::testing::TestWithParam<std::tuple<VersionPair, std::size_t, std::byte>> {};

// Every byte the description lets the converter write has its value, and
// every other byte keeps what the target held.
TEST_P(WrittenBytes, MatchTheDescriptionExactly) {
    const auto [pair, kind, fill] = GetParam();
    const Bytes source = kSourceKinds[kind].make(pair.from);
    const Bytes target = convert(pair.from, pair.to, source, fill);
    EXPECT_TRUE(conformsTo(expectedConversion(pair, source), target, fill));
}

INSTANTIATE_TEST_SUITE_P(AllPairs, WrittenBytes,
                         ::testing::Combine(::testing::ValuesIn(allPairs()),
                                            ::testing::Range<std::size_t>(0, std::size(kSourceKinds)),
                                            ::testing::ValuesIn(kFills)),
                         [](const auto& test) {
                             return pairName(std::get<0>(test.param)) +
                                    kSourceKinds[std::get<1>(test.param)].name + "Fill" +
                                    std::to_string(std::to_integer<unsigned>(std::get<2>(test.param)));
                         });

class EveryConverter : public ::testing::TestWithParam<VersionPair> {};

TEST_P(EveryConverter, CarriesTheHeaderAndWritesOnlyDriverExtra) {
    const VersionPair pair = GetParam();
    Bytes source = randomRecord(pair.from, 21);
    // dmSize 0xBEEF and a dmDriverExtra of 1000 that fits no version: neither is looked at.
    putU32(source, 68, (1000u << 16) | 0xBEEFu);
    const Bytes target = convert(pair.from, pair.to, source, kFill);
    for (std::size_t i = 0; i < 220; ++i) {
        if (i != 70 && i != 71) {
            ASSERT_EQ(target[i], source[i]) << "header byte " << i;
        }
    }
    EXPECT_EQ(getU16(target, kDriverExtraAt), kDriverExtra[indexOf(pair.to)]);
    EXPECT_EQ(getU16(target, kDriverExtraAt), recordLength(pair.to) - 220);
}

TEST_P(EveryConverter, LeavesTheSourceUntouched) {
    const VersionPair pair = GetParam();
    const Bytes original = realisticRecord(pair.from, 22);
    Bytes source = original;
    const Converter converter = converterFor(pair.from, pair.to);
    ASSERT_NE(converter, nullptr);
    Bytes target(recordLength(pair.to), kFill);
    EXPECT_TRUE(converter(source, target));
    EXPECT_EQ(source, original);
}

TEST_P(EveryConverter, GivesTheSameRecordEveryTime) {
    const VersionPair pair = GetParam();
    const Bytes source = realisticRecord(pair.from, 23);
    const Bytes first = convert(pair.from, pair.to, source, kFill);
    // Another conversion in between must leave nothing behind that changes the next.
    static_cast<void>(convert(pair.from, pair.to, randomRecord(pair.from, 24), kFill));
    EXPECT_EQ(convert(pair.from, pair.to, source, kFill), first);
}

TEST_P(EveryConverter, RefusesBuffersOfTheWrongLengthWithoutWriting) {
    const VersionPair pair = GetParam();
    const Converter converter = converterFor(pair.from, pair.to);
    ASSERT_NE(converter, nullptr);
    const Bytes source = realisticRecord(pair.from, 25);
    for (const std::size_t length : {recordLength(pair.to) - 1, recordLength(pair.to) + 1}) {
        Bytes target(length, kFill);
        EXPECT_FALSE(converter(source, target)) << "target of " << length << " bytes";
        EXPECT_EQ(target, Bytes(length, kFill));
    }
    // Cells serving 8.00 and 8.02 sources alike need only the 2888 bytes both have.
    const bool servesBoth8x = pair.from == Version::V802 && recordLength(pair.to) <= k1852;
    const std::size_t needed = servesBoth8x ? recordLength(Version::V800) : recordLength(pair.from);
    const Bytes shortSource(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(needed - 1));
    Bytes target(recordLength(pair.to), kFill);
    EXPECT_FALSE(converter(shortSource, target));
    EXPECT_EQ(target, Bytes(recordLength(pair.to), kFill));
}

// The driver reads every file into one 4000-byte buffer; whatever lies behind
// the record in it must not reach the target.
TEST_P(EveryConverter, ReadsOnlyTheRecordFromTheDriversSourceBuffer) {
    const VersionPair pair = GetParam();
    const Bytes record = realisticRecord(pair.from, 26);
    Bytes buffer = randomBytes(4000, 27);
    std::copy(record.begin(), record.end(), buffer.begin());
    Bytes target(recordLength(pair.to), kFill);
    ASSERT_TRUE(converterFor(pair.from, pair.to)(buffer, target));
    EXPECT_EQ(target, convert(pair.from, pair.to, record, kFill));
}

INSTANTIATE_TEST_SUITE_P(AllPairs, EveryConverter, ::testing::ValuesIn(allPairs()), pairTestName);

TEST(DispatchTable, HasNoConverterOnTheDiagonal) {
    for (const Version version : kAllVersions) {
        EXPECT_EQ(converterFor(version, version), nullptr) << versionName(version);
    }
}

} // namespace
} // namespace tallowbrook::test
