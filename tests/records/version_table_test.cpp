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
    struct Row {
        Version version;
        std::string_view label;
        std::size_t length;
        std::uint16_t driverExtra;
        std::string_view suffix;
    };
    const Row rows[] = {
        {Version::V604, "Version 6.04", 1472, 1252, "_604"},
        {Version::V700, "Version 7.00 - 7.04", 1480, 1260, "_700"},
        {Version::V705, "Version 7.05", 1852, 1632, "_705"},
        {Version::V707, "Version 7.07", 1856, 1636, "_707"},
        {Version::V800, "Version 8.00", 2888, 2668, "_800"},
        {Version::V802, "Version 8.02", 2892, 2672, "_802"},
    };
    for (const Row& row : rows) {
        const VersionInfo& v = info(row.version);
        EXPECT_EQ(v.label, row.label);
        EXPECT_EQ(v.length, row.length);
        EXPECT_EQ(v.driverExtra, row.driverExtra);
        EXPECT_EQ(v.suffix, row.suffix);
    }
    EXPECT_FALSE(versionAt(6).has_value());
    EXPECT_EQ(versionAt(5), Version::V802);
}

} // namespace
} // namespace tallowbrook
