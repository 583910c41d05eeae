#include <gtest/gtest.h>

#include <tuple>

#include "convert/output_path.h"
#include "files/file_error.h"

namespace tallowbrook {
namespace {

TEST(OutputPath, SuffixGoesInFrontOfTheLastFourCharactersOfTheName) {
    const std::tuple<PathStyle, const char*, const char*> cases[] = {
        {PathStyle::Posix, "/d/laser.dat", "/d/laser_802.dat"},
        {PathStyle::Posix, "/d/config", "/d/co_802nfig"},
        {PathStyle::Posix, "/data/x", "/data/_802x"},
        {PathStyle::Posix, "abcd", "_802abcd"},
        {PathStyle::Posix, "", "_802"},
        {PathStyle::Posix, "/", "/_802"},
        {PathStyle::Posix, "/d/naïve.dat", "/d/naïve_802.dat"},
        {PathStyle::Posix, "/d/x€€€€", "/d/x_802€€€€"},
        {PathStyle::Posix, "/d/€😀", "/d/_802€😀"},
        {PathStyle::Posix, "/d\\a\\b", "/d_802\\a\\b"}, // "\\" is a name character here
        {PathStyle::Windows, "D:\\cfg\\laser.dat", "D:\\cfg\\laser_802.dat"},
        {PathStyle::Windows, "D:\\a\\b", "D:\\a\\_802b"},
        {PathStyle::Windows, "D:/a/bc", "D:/a/_802bc"},
        {PathStyle::Windows, "C:ab", "C:_802ab"},
        {PathStyle::Windows, "C:", "C:_802"},
        {PathStyle::Windows, "\\\\?\\D:ab", "\\\\?\\D:_802ab"},
        {PathStyle::Windows, "\\\\srv\\share\\ab", "\\\\srv\\share\\_802ab"},
        // Only a drive's ":" ends the folder part; any other is part of the name
        // (and such a path is refused before it is used: see below).
        {PathStyle::Windows, "D:\\x\\laser.dat:s", "D:\\x\\laser.d_802at:s"},
        {PathStyle::Windows, "D:\\x\\a:bc", "D:\\x\\_802a:bc"},
        {PathStyle::Windows, "1:abc", "1_802:abc"},
        {PathStyle::Posix, "/d/a:b", "/d/_802a:b"},
    };
    for (const auto& [style, path, expected] : cases) {
        EXPECT_EQ(outputPathFor(path, "_802", style), expected) << path;
    }
}

// On Windows a ':' anywhere but after a drive letter names an alternate data
// stream of the file before it, which a run must never touch.
TEST(OutputPath, WindowsPathsNamingADataStreamAreTold) {
    const std::pair<const char*, bool> cases[] = {
        {"D:\\x\\laser.dat", false},
        {"D:laser.dat", false},
        {"d:/x/laser.dat", false},
        {"\\\\?\\D:\\x\\laser.dat", false},
        {"//./D:/x/laser.dat", false},
        {"\\\\server\\share\\laser.dat", false},
        {"\\\\?\\UNC\\server\\share\\laser.dat", false},
        {"laser.dat", false},
        {"", false},
        {"D:\\x\\laser.dat:s", true},
        {"D:\\x\\laser.dat::$DATA", true},
        {"D:\\x\\laser.dat:s:$DATA", true},
        {"D:laser.dat:s", true},
        {"laser.dat:s", true},
        {"D:\\x:y\\laser.dat", true},
        {"\\\\?\\D:\\x\\laser.dat:s", true},
        {"\\\\server\\share\\laser.dat:s", true},
        {"\\\\?\\UNC\\server\\share\\laser.dat:s", true},
        {"\\\\server\\D:\\laser.dat", true}, // a share, not a drive
        {"1:\\laser.dat", true},             // no drive letter
        {":laser.dat", true},
        {"DD:\\laser.dat", true},
        {"\\\\?\\D:x:y", true},
    };
    for (const auto& [path, stream] : cases) {
        EXPECT_EQ(namesDataStream(path, PathStyle::Windows), stream) << path;
        EXPECT_FALSE(namesDataStream(path, PathStyle::Posix)) << path;
    }
}

TEST(OutputPath, BrokenUtf8StaysInsideTheName) {
    // Stray continuation bytes never carry the suffix past the separator.
    const std::string output = outputPathFor("/d/\x80\x80\x80\x80\x80", "_705", PathStyle::Posix);
    EXPECT_EQ(output.substr(0, 3), "/d/");
    EXPECT_NE(output.find("_705"), std::string::npos);
}

TEST(FileErrorText, DescriptionsNameTheFileOrAnUnnamedFile) {
    EXPECT_STREQ(FileError(FileCause::DiskFull, 28, "/o/x_802.dat").what(),
                 "Disk full while accessing /o/x_802.dat.");
    EXPECT_STREQ(FileError(FileCause::HardIo, 5, std::nullopt).what(),
                 "A hardware I/O error was reported while accessing an unnamed file.");
    EXPECT_STREQ(FileError(FileCause::None, 0, "/x").what(), "No error occurred.");
    EXPECT_STREQ(FileError(FileCause::BadSeek, 0, "/x").what(), "Seek failed on /x");
}

} // namespace
} // namespace tallowbrook
