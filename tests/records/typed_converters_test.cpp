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

template <std::size_t TargetLength, std::size_t SourceLength>
Bytes runTyped(bool (*converter)(SourceRecord<SourceLength>, TargetRecord<TargetLength>),
               const Bytes& source) {
    std::array<std::byte, TargetLength> target;
    target.fill(kFill);
    EXPECT_TRUE(converter(std::span<const std::byte, SourceLength>(source.data(), SourceLength), target));
    return Bytes(target.begin(), target.end());
}

// 32-bit words (offset, value) put into the source before the run, or looked for in the target after it.
using Words = std::vector<std::pair<std::size_t, std::uint32_t>>;

struct TypedCase {
    const char* name;
    Version from, to;
    std::uint32_t seed, entries;
    Bytes (*run)(const Bytes& source);
    Words put, expected;
};

void PrintTo(const TypedCase& typed, std::ostream* out) {
    *out << typed.name;
}

class TypedConverters : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedConverters, AgreeWithTheDispatchTable) {
    const TypedCase& typed = GetParam();
    Bytes source = realisticRecord(typed.from, typed.seed, typed.entries);
    for (const auto& [at, value] : typed.put) {
        putU32(source, at, value);
    }
    const Bytes target = typed.run(source);
    EXPECT_EQ(target, convert(typed.from, typed.to, source, kFill));
    for (const auto& [at, value] : typed.expected) {
        EXPECT_EQ(getU32(target, at), value) << "at " << at;
    }
    // 7.05 to 7.00 keeps the first five bytes of the 17th entry behind the table.
    if (typed.from == Version::V705 && typed.to == Version::V700) {
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_EQ(target[1472 + k], source[kEntryTable + 28 * 16 + k]) << "17th entry byte " << k;
        }
    }
}

using enum Version;
// clang-format off
INSTANTIATE_TEST_SUITE_P(ByName, TypedConverters, ::testing::Values(
    TypedCase{"Convert604To802", V604, V802, 81, 3, [](const Bytes& s) { return runTyped(&Convert604To802, s); },
              {}, {{kEntryTable + 8, 2500}, {k2888, 1}}},
    TypedCase{"Convert700To604", V700, V604, 82, 17, [](const Bytes& s) { return runTyped(&Convert700To604, s); },
              {{k852, 9}}, {{k852, 0}, {kEntryCountAt, 17}}},
    // The 8.00-and-8.02 converters take an 8.02 record as its first 2888 bytes.
    TypedCase{"Convert8xTo604From802", V802, V604, 83, 17,
              [](const Bytes& s) { return runTyped<kLength604, kLength800>(&Convert8xTo604, s); },
              {{k848, 6}}, {{k848, 2}}},
    TypedCase{"Convert802To707", V802, V707, 84, 17, [](const Bytes& s) { return runTyped(&Convert802To707, s); },
              {{k1852, 3}, {k848, 3}}, {{k1852, 2}, {k848, 1}}},
    TypedCase{"Convert705To700", V705, V700, 85, 17, [](const Bytes& s) { return runTyped(&Convert705To700, s); },
              {}, {}}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

} // namespace
} // namespace tallowbrook::test
