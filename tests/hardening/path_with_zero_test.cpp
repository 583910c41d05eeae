// A list entry is any text the host hands over. An embedded zero byte cuts the
// path short at the system call, so "dir/laser.dat\0abcd" opens dir/laser.dat
// while its output path, with the suffix put in front of "abcd", is cut short
// to the very same name. Such a path must be refused as invalid (cause 3), on
// both the source and the output side, and no file may change.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "files/file_error.h"
#include "convert/merge.h"
#include "records/version_table.h"
#include "tests/support/recording_events.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook {
namespace {

using namespace std::string_literals;
using test::Bytes;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const Bytes kRecord604 = test::randomRecord(Version::V604, 1);

TEST(PathWithZero, MergeNeverWritesOverTheSourceItReads) {
    const TempFolder folder;
    const std::string source = folder.file("laser.dat");
    writeFile(source, kRecord604);

    test::RecordingEvents events;
    test::runMerge({source + "\0abcd"s}, indexOf(Version::V802), events);

    // Compared as a flag: a failure would otherwise print two whole records.
    EXPECT_TRUE(readFile(source) == kRecord604) << "the source was overwritten by its own conversion";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"laser.dat"});
}

TEST(PathWithZero, SourceOpenRefusesItAsAnInvalidPath) {
    const TempFolder folder;
    const std::string source = folder.file("laser.dat");
    writeFile(source, kRecord604);
    try {
        SourceFile::open(source + "\0abcd"s);
        FAIL() << "a path with a zero byte was opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::BadPath);
    }
}

TEST(PathWithZero, OutputCreateRefusesItAsAnInvalidPath) {
    const TempFolder folder;
    const std::string existing = folder.file("laser.dat");
    writeFile(existing, kRecord604);
    try {
        OutputFile::create(existing + "\0_802abcd"s);
        FAIL() << "a path with a zero byte was created";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::BadPath);
    }
    EXPECT_TRUE(readFile(existing) == kRecord604) << "the existing file was replaced";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"laser.dat"});
}

} // namespace
} // namespace tallowbrook
