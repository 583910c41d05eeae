// Paths that would reach another file than the one they name must be refused
// as invalid (cause 3) before anything is opened or created, and no file may
// change. An embedded zero byte cuts a path short at the system call:
// "dir/laser.dat\0abcd" would open dir/laser.dat while its output path, with
// the suffix put in front of "abcd", is cut short to the very same name. On
// Windows a ':' after anything but a drive letter names an alternate data
// stream of the file before it: a listed "D:\x\laser.dat:s" would be read
// from, and its output "D:\x\laser.d_802at:s" written into, a stream of
// laser.dat itself. POSIX gives ':' no meaning.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include "winapi/windows_prelude.h"

#include <filesystem>
#endif

#include "convert/merge.h"
#include "files/file_access.h"
#include "files/file_error.h"
#include "records/version_table.h"
#include "tests/support/expect_file_error.h"
#include "tests/support/recording_events.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

using namespace std::string_literals;

const Bytes kRecord604 = randomRecord(Version::V604, 1);

// A hostile path made from the path of laser.dat, a file that is there.
struct HostilePath {
    const char* name;
    std::string (*make)(const TempFolder& folder, const std::string& file);
};

void PrintTo(const HostilePath& path, std::ostream* out) {
    *out << path.name;
}

// Listed as sources: opened, and their outputs named from them.
const HostilePath kListedPaths[] = {
    {"ZeroByte", [](const TempFolder&, const std::string& file) { return file + "\0abcd"s; }},
#ifdef _WIN32
    {"Stream", [](const TempFolder&, const std::string& file) { return file + ":s"; }},
    {"DefaultStream", [](const TempFolder&, const std::string& file) { return file + "::$DATA"; }},
    {"NamedStreamWithType", [](const TempFolder&, const std::string& file) { return file + ":s:$DATA"; }},
    {"StreamBehindPrefix",
     [](const TempFolder&, const std::string& file) { return "\\\\?\\" + file + ":s"; }},
#endif
};

// Given as outputs.
const HostilePath kOutputPaths[] = {
    {"ZeroByte", [](const TempFolder&, const std::string& file) { return file + "\0_802abcd"s; }},
#ifdef _WIN32
    {"Stream", [](const TempFolder&, const std::string& file) { return file + ":_802s"; }},
    {"DefaultStream", [](const TempFolder&, const std::string& file) { return file + "::$DATA"; }},
    {"ColonInFolder",
     [](const TempFolder& folder, const std::string&) { return folder.file("x:y") + "\\out.dat"; }},
#endif
};

class HostilePaths : public ::testing::TestWithParam<HostilePath> {
protected:
    // Nothing was written, and laser.dat is as it was. Compared as a flag: a
    // failure would otherwise print two whole records.
    void expectNothingChanged() const {
        EXPECT_TRUE(readFile(m_file) == kRecord604) << "laser.dat was changed";
        EXPECT_EQ(m_folder.names(), std::vector<std::string>{"laser.dat"});
    }

    const TempFolder m_folder;
    const std::string m_file = m_folder.write("laser.dat", kRecord604);
    const std::string m_path = GetParam().make(m_folder, m_file);
};

class HostileListed : public HostilePaths {};
class HostileOutput : public HostilePaths {};

TEST_P(HostileListed, MergeRefusesItAndNeverWritesOverTheSource) {
    RecordingEvents events;
    const MergeOutcome outcome = runMerge({m_path}, indexOf(Version::V802), events);
    ASSERT_EQ(events.outcomes.size(), 1u);
    EXPECT_EQ(events.outcomes[0].kind, EntryOutcome::Kind::OpenFailed);
    EXPECT_EQ(events.outcomes[0].cause, FileCause::BadPath);
    // The message is C text, which a zero byte would end: checked for the others.
    if (m_path.find('\0') == std::string::npos) {
        EXPECT_EQ(events.messages[0], "File could not be opened \n" + m_path + " contains an invalid path.");
    }
    EXPECT_EQ(outcome.written, 0);
    expectNothingChanged();
}

TEST_P(HostileListed, SourceOpenRefusesIt) {
    expectFileError([&] { SourceFile::open(m_path); }, FileCause::BadPath, m_path);
}

TEST_P(HostileOutput, OutputCreateRefusesIt) {
    expectFileError([&] { OutputFile::create(m_path); }, FileCause::BadPath, m_path);
    expectNothingChanged();
}

INSTANTIATE_TEST_SUITE_P(Paths, HostileListed, ::testing::ValuesIn(kListedPaths),
                         ::testing::PrintToStringParamName());
INSTANTIATE_TEST_SUITE_P(Paths, HostileOutput, ::testing::ValuesIn(kOutputPaths),
                         ::testing::PrintToStringParamName());

#ifdef _WIN32
// Whether the system can open `path` as it stands, past the program's checks.
bool systemOpens(const std::string& path) {
    return static_cast<bool>(FileHandle(::CreateFileW(std::filesystem::u8path(path).c_str(), GENERIC_READ,
                                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

// The drive's ':' behind the long-path prefix names no stream: that source is
// converted among the refused ones, and no stream is written anywhere.
TEST(StreamPath, ARefusedStreamLeavesTheOtherSourcesToConvert) {
    const TempFolder folder;
    const std::string source = folder.write("laser.dat", kRecord604);
    std::vector<std::string> entries;
    for (const HostilePath& path : kListedPaths) {
        entries.push_back(path.make(folder, source));
    }
    entries.push_back("\\\\?\\" + source);

    RecordingEvents events;
    const MergeOutcome outcome = runMerge(entries, indexOf(Version::V802), events);

    ASSERT_EQ(events.outcomes.size(), entries.size());
    EXPECT_EQ(events.outcomes.back().kind, EntryOutcome::Kind::Converted);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_TRUE(readFile(source) == kRecord604) << "the source was changed";
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"laser.dat", "laser_802.dat"}));
    EXPECT_FALSE(systemOpens(source + ":_802s")) << "a stream was written onto the source";
    EXPECT_FALSE(systemOpens(folder.file("laser.d_802at:s"))) << "a stream was written onto an output";
}
#endif

} // namespace
} // namespace tallowbrook::test
