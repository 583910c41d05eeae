// A few converters called by name through their fixed-extent signatures, as
// a caller that knows both versions at compile time would; they must give
// what the dispatch table's cell for the pair gives.

#include <gtest/gtest.h>

#include <array>
#include <span>

#include "convert/converters.h"
#include "tests/records/conversion_oracle.h"

namespace tallowbrook::test {
namespace {

constexpr std::byte kFill{0xCD};

template <std::size_t TargetLength, std::size_t SourceLength>
std::array<std::byte, TargetLength>
runTyped(bool (*converter)(SourceRecord<SourceLength>, TargetRecord<TargetLength>), const Bytes& source) {
    std::array<std::byte, TargetLength> target;
    target.fill(kFill);
    EXPECT_TRUE(converter(std::span<const std::byte, SourceLength>(source.data(), SourceLength), target));
    return target;
}

template <std::size_t N> Bytes asBytes(const std::array<std::byte, N>& record) {
    return Bytes(record.begin(), record.end());
}

TEST(TypedConverters, Convert604To802AgreesWithTheDispatchTable) {
    const Bytes source = realisticRecord(Version::V604, 81, 3);
    const Bytes target = asBytes(runTyped(&Convert604To802, source));
    EXPECT_EQ(target, convert(Version::V604, Version::V802, source, kFill));
    EXPECT_EQ(getU32(target, kEntryTable + 8), 2500u);
    EXPECT_EQ(getU32(target, k2888), 1u);
}

TEST(TypedConverters, Convert700To604AgreesWithTheDispatchTable) {
    Bytes source = realisticRecord(Version::V700, 82, 17);
    putU32(source, k852, 9);
    const Bytes target = asBytes(runTyped(&Convert700To604, source));
    EXPECT_EQ(target, convert(Version::V700, Version::V604, source, kFill));
    EXPECT_EQ(getU32(target, k852), 0u);
    EXPECT_EQ(getU32(target, kEntryCountAt), 17u);
}

// The 8.00-and-8.02 converters take an 8.02 record as its first 2888 bytes.
TEST(TypedConverters, Convert8xTo604ServesAn802SourceThroughIts2888BytePrefix) {
    Bytes source = realisticRecord(Version::V802, 83, 17);
    putU32(source, k848, 6);
    const Bytes target = asBytes(runTyped<kLength604, kLength800>(&Convert8xTo604, source));
    EXPECT_EQ(target, convert(Version::V802, Version::V604, source, kFill));
    EXPECT_EQ(getU32(target, k848), 2u);
}

TEST(TypedConverters, Convert802To707AgreesWithTheDispatchTable) {
    Bytes source = realisticRecord(Version::V802, 84);
    putU32(source, k1852, 3);
    putU32(source, k848, 3);
    const Bytes target = asBytes(runTyped(&Convert802To707, source));
    EXPECT_EQ(target, convert(Version::V802, Version::V707, source, kFill));
    EXPECT_EQ(getU32(target, k1852), 2u);
    EXPECT_EQ(getU32(target, k848), 1u);
}

TEST(TypedConverters, Convert705To700AgreesWithTheDispatchTable) {
    const Bytes source = realisticRecord(Version::V705, 85, 17);
    const Bytes target = asBytes(runTyped(&Convert705To700, source));
    EXPECT_EQ(target, convert(Version::V705, Version::V700, source, kFill));
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(target[1472 + k], source[kEntryTable + 28 * 16 + k]) << "17th entry byte " << k;
    }
}

} // namespace
} // namespace tallowbrook::test
