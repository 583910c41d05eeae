#include <gtest/gtest.h>

#include "records/version_table.h"

namespace tallowbrook {
namespace {

TEST(VersionTable, EachRecordLengthNamesItsVersion) {
    for (std::size_t i = 0; i < kVersionCount; ++i) {
        const auto version = versionOfLength(kVersionTable[i].length);
        ASSERT_TRUE(version.has_value());
        EXPECT_EQ(indexOf(*version), i);
    }
}

TEST(VersionTable, OtherLengthsHaveNoVersion) {
    for (const std::uint64_t length : {0ull, 1ull, 1471ull, 1473ull, 1479ull, 1481ull, 2891ull, 2893ull,
                                       4000ull, 5000ull, 0x1'0000'05C0ull}) {
        EXPECT_FALSE(versionOfLength(length).has_value()) << length;
    }
}

TEST(VersionTable, RowsMatchTheDriverReleases) {
    const std::pair<Version, VersionInfo> rows[] = {
        {Version::V604, {"Version 6.04", 1472, 1252, "_604"}},
        {Version::V700, {"Version 7.00 - 7.04", 1480, 1260, "_700"}},
        {Version::V705, {"Version 7.05", 1852, 1632, "_705"}},
        {Version::V707, {"Version 7.07", 1856, 1636, "_707"}},
        {Version::V800, {"Version 8.00", 2888, 2668, "_800"}},
        {Version::V802, {"Version 8.02", 2892, 2672, "_802"}},
    };
    for (const auto& [version, expected] : rows) {
        const VersionInfo& v = info(version);
        EXPECT_EQ(v.label, expected.label);
        EXPECT_EQ(v.length, expected.length);
        EXPECT_EQ(v.driverExtra, expected.driverExtra);
        EXPECT_EQ(v.suffix, expected.suffix);
    }
    EXPECT_FALSE(versionAt(6).has_value());
    EXPECT_EQ(versionAt(5), Version::V802);
}

} // namespace
} // namespace tallowbrook
