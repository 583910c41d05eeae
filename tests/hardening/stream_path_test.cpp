// On Windows a ':' after anything but a drive letter names an alternate data
// stream of the file before it: a listed "D:\x\laser.dat:s" would be read from,
// and its output "D:\x\laser.d_802at:s" written into, a stream of laser.dat
// itself, a source that must never be written. Such paths are refused as
// invalid (cause 3) before anything is opened or created. POSIX gives ':' no
// meaning, so these cases are Windows's alone.

#include <gtest/gtest.h>

#ifdef _WIN32

#include "winapi/windows_prelude.h"

#include <filesystem>
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

using test::Bytes;
using test::readFile;
using test::TempFolder;
using test::writeFile;

const Bytes kRecord604 = test::randomRecord(Version::V604, 1);

// Whether the system can open `path` as it stands, past the program's checks.
bool systemOpens(const std::string& path) {
    const HANDLE handle =
        ::CreateFileW(std::filesystem::u8path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    ::CloseHandle(handle);
    return true;
}

TEST(StreamPath, ListedStreamsOfASourceAreRefusedAndNeverWritten) {
    const TempFolder folder;
    const std::string source = folder.file("laser.dat");
    writeFile(source, kRecord604);
    const std::vector<std::string> streams = {
        source + ":s",
        source + "::$DATA",
        source + ":s:$DATA",
        "\\\\?\\" + source + ":s",
    };
    std::vector<std::string> entries = streams;
    entries.push_back("\\\\?\\" + source); // the drive's ':' behind the prefix is fine

    test::RecordingEvents events;
    const MergeOutcome outcome = test::runMerge(entries, indexOf(Version::V802), events);

    ASSERT_EQ(events.outcomes.size(), entries.size());
    for (std::size_t i = 0; i < streams.size(); ++i) {
        EXPECT_EQ(events.outcomes[i].kind, EntryOutcome::Kind::OpenFailed) << streams[i];
        EXPECT_EQ(events.outcomes[i].cause, FileCause::BadPath) << streams[i];
        EXPECT_EQ(events.messages[i],
                  "File could not be opened \n" + streams[i] + " contains an invalid path.");
    }
    EXPECT_EQ(events.outcomes.back().kind, EntryOutcome::Kind::Converted);
    EXPECT_EQ(outcome.written, 1);

    EXPECT_TRUE(readFile(source) == kRecord604) << "the source was changed";
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"laser.dat", "laser_802.dat"}));
    EXPECT_FALSE(systemOpens(source + ":_802s")) << "a stream was written onto the source";
    EXPECT_FALSE(systemOpens(folder.file("laser.d_802at:s"))) << "a stream was written onto an output";
}

TEST(StreamPath, OutputCreateRefusesAStreamOfAnExistingFile) {
    const TempFolder folder;
    const std::string existing = folder.file("laser.dat");
    writeFile(existing, kRecord604);
    for (const std::string& path :
         {existing + ":_802s", existing + "::$DATA", folder.file("x:y") + "\\out.dat"}) {
        try {
            OutputFile::create(path);
            ADD_FAILURE() << "created " << path;
        } catch (const FileError& error) {
            EXPECT_EQ(error.cause(), FileCause::BadPath) << path;
            EXPECT_EQ(error.path(), path);
        }
    }
    EXPECT_TRUE(readFile(existing) == kRecord604) << "the existing file was changed";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"laser.dat"});
}

} // namespace
} // namespace tallowbrook

#endif // _WIN32
