// The Merge command over real files in a temporary folder.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "convert/merge.h"
#include "files/file_access.h"
#include "tests/support/expect_file_error.h"
#include "tests/support/recording_events.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

constexpr std::size_t kTo802 = 5;

struct Source {
    std::string path;
    Bytes bytes;
};

class MergeTest : public ::testing::Test {
protected:
    Source addFile(const std::string& name, Bytes bytes) {
        return m_sources.emplace_back(Source{m_folder.write(name, bytes), bytes});
    }

    Source addRecord(const std::string& name, Version version, std::uint32_t seed) {
        return addFile(name, randomRecord(version, seed));
    }

    // What every run must leave behind: sources unchanged, no temporary file.
    void TearDown() override {
        for (const Source& source : m_sources) {
            if (exists(source.path)) {
                EXPECT_EQ(readFile(source.path), source.bytes) << source.path;
            }
        }
        EXPECT_TRUE(m_folder.temporaryFiles().empty());
    }

    TempFolder m_folder;
    std::vector<Source> m_sources;
};

TEST_F(MergeTest, EmptyListShowsNothingAndKeepsMergeEnabled) {
    RecordingEvents events;
    const MergeOutcome outcome = runMerge({}, kTo802, events);
    EXPECT_EQ(outcome.kind, MergeOutcome::Kind::EmptyList);
    EXPECT_TRUE(events.messages.empty());
    EXPECT_EQ(events.summaries, 0);
}

// Every version to every other, byte for byte against the converter on a
// zero-filled target, with files of all versions listed together so that no
// output can carry bytes of the file converted before it.
TEST_F(MergeTest, ConvertsEveryVersionToEveryOtherByteForByte) {
    std::vector<std::string> paths;
    for (std::size_t v = 0; v < kVersionCount; ++v) {
        Bytes record = randomRecord(static_cast<Version>(v), 100 + static_cast<std::uint32_t>(v));
        putU32(record, 800, v % 2 == 0 ? 17u : 2u); // full and sparse entry tables alternate
        paths.push_back(addFile("v" + std::to_string(v) + ".dat", record).path);
    }
    for (std::size_t to = 0; to < kVersionCount; ++to) {
        RecordingEvents events;
        const MergeOutcome outcome = runMerge(paths, to, events);
        ASSERT_EQ(outcome.kind, MergeOutcome::Kind::Completed);
        EXPECT_EQ(outcome.written, 5);
        EXPECT_EQ(events.messages, std::vector<std::string>{"Done! Merged 5 configuration files.\n"});
        EXPECT_EQ(events.summaries, 1);
        const std::string suffix(info(static_cast<Version>(to)).suffix);
        for (std::size_t from = 0; from < kVersionCount; ++from) {
            const std::string output = m_folder.file("v" + std::to_string(from) + suffix + ".dat");
            if (from == to) {
                EXPECT_FALSE(exists(output)) << output;
                continue;
            }
            EXPECT_EQ(readFile(output),
                      convert(static_cast<Version>(from), static_cast<Version>(to), m_sources[from].bytes))
                << from << " -> " << to;
        }
    }
}

TEST_F(MergeTest, FilesOfNoKnownLengthArePassedOverSilently) {
    std::vector<std::string> paths;
    for (const std::size_t length : {0u, 1471u, 1473u, 4000u, 5000u}) {
        paths.push_back(addFile("len" + std::to_string(length) + ".dat", randomBytes(length, 7)).path);
    }
    RecordingEvents events;
    const MergeOutcome outcome = runMerge(paths, kTo802, events);
    EXPECT_EQ(outcome.written, 0);
    EXPECT_EQ(events.messages, std::vector<std::string>{"Done! Merged 0 configuration files.\n"});
    EXPECT_EQ(events.summaries, 1);
    for (const std::string& path : paths) {
        EXPECT_FALSE(exists(path.substr(0, path.size() - 4) + "_802.dat"));
    }
}

TEST_F(MergeTest, NoChoiceOrAFileOfTheChosenVersionWritesNothing) {
    const Source source = addRecord("same.dat", Version::V802, 1);
    for (const std::optional<std::size_t> chooser :
         {std::optional<std::size_t>(kTo802), std::optional<std::size_t>(), std::optional<std::size_t>(6)}) {
        RecordingEvents events;
        EXPECT_EQ(runMerge({source.path}, chooser, events).written, 0);
        EXPECT_EQ(events.messages.size(), 1u);
    }
    EXPECT_FALSE(exists(m_folder.file("same_802.dat")));
}

// Locks and permissions are POSIX here; the Windows suite has its own cases.
#ifndef _WIN32
TEST_F(MergeTest, UnopenableSourcesAreReportedAndTheRunGoesOn) {
    const Source good = addRecord("good.dat", Version::V604, 3);
    const std::string missing = m_folder.file("missing.dat");
    const std::string folder = m_folder.file("folder.dat");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    const Source locked = addRecord("locked.dat", Version::V705, 4);

    // An exclusive lock held through a descriptor of its own for the whole run:
    // flock locks belong to the open file, so it refuses the run's lock just as
    // another program's would.
    const int lockHolder = ::open(locked.path.c_str(), O_RDWR);
    ASSERT_GE(lockHolder, 0);
    ASSERT_EQ(::flock(lockHolder, LOCK_EX), 0);

    RecordingEvents events;
    const MergeOutcome outcome = runMerge({missing, folder, locked.path, good.path}, kTo802, events);
    ::close(lockHolder);

    EXPECT_EQ(outcome.kind, MergeOutcome::Kind::Completed);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(
        events.messages,
        (std::vector<std::string>{"File could not be opened \n" + missing + " was not found.",
                                  "File could not be opened \nAccess to " + folder + " was denied.",
                                  "File could not be opened \nA sharing violation occurred while accessing " +
                                      locked.path + ".",
                                  "Done! Merged 1 configuration files.\n"}));
    EXPECT_TRUE(exists(m_folder.file("good_802.dat")));
    EXPECT_FALSE(exists(m_folder.file("locked_802.dat")));
}

TEST_F(MergeTest, ListedTwiceConvertsTwiceAndOverwritesExistingOutput) {
    const Source source = addRecord("twice.dat", Version::V700, 5);
    const std::string output =
        m_folder.write("twice_802.dat", randomBytes(9000, 6)); // stale, longer, same name
    ASSERT_EQ(::chmod(output.c_str(), 0640), 0);

    RecordingEvents events;
    EXPECT_EQ(runMerge({source.path, source.path}, kTo802, events).written, 2);
    EXPECT_EQ(readFile(output), convert(Version::V700, Version::V802, source.bytes));
    struct stat status {};
    ASSERT_EQ(::stat(output.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u) << "an overwritten output keeps its permissions";
}

// A failing output ends the run at that entry: earlier outputs stay, later
// entries are not processed, no summary, "Merge" stays enabled, and the file
// that stood at the output path is untouched.
TEST_F(MergeTest, ReadOnlyOrFolderOutputEndsTheRun) {
    for (const bool folder : {false, true}) {
        const std::string name = folder ? "isfolder" : "readonly";
        SCOPED_TRACE(name);
        const Source first = addRecord(name + "_a.dat", Version::V604, 8);
        const Source blocked = addRecord(name + "_b.dat", Version::V604, 9);
        const Source later = addRecord(name + "_c.dat", Version::V604, 10);
        const std::string blockedOutput = m_folder.file(name + "_b_802.dat");
        const Bytes before = randomBytes(100, 11);
        if (folder) {
            ASSERT_EQ(::mkdir(blockedOutput.c_str(), 0755), 0);
        } else {
            writeFile(blockedOutput, before);
            ASSERT_EQ(::chmod(blockedOutput.c_str(), 0444), 0);
        }

        RecordingEvents events;
        const MergeOutcome outcome = runMerge({first.path, blocked.path, later.path}, kTo802, events);
        ASSERT_EQ(outcome.kind, MergeOutcome::Kind::OutputFailed);
        EXPECT_EQ(outcome.written, 1);
        EXPECT_EQ(outcome.outputError->cause(), FileCause::AccessDenied);
        EXPECT_EQ(outcome.outputError->what(), "Access to " + blockedOutput + " was denied.");
        EXPECT_TRUE(events.messages.empty());
        EXPECT_EQ(events.summaries, 0);
        ASSERT_EQ(events.outcomes.size(), 2u); // the later entry is not reached
        EXPECT_EQ(events.outcomes[1].kind, EntryOutcome::Kind::OutputFailed);
        EXPECT_EQ(events.outcomes[1].output, blockedOutput);
        EXPECT_TRUE(exists(m_folder.file(name + "_a_802.dat")));
        EXPECT_FALSE(exists(m_folder.file(name + "_c_802.dat")));
        if (!folder) {
            EXPECT_EQ(readFile(blockedOutput), before);
        }
    }
}

#endif // _WIN32

TEST_F(MergeTest, OutputsKeepToTheSourcesFolderWhateverTheName) {
    const std::pair<const char*, const char*> cases[] = {
        {"config", "co_705nfig"},
        {"abc", "_705abc"},
        {"résumé.dat", "résumé_705.dat"},
        {"日本語", "_705日本語"},
    };
    for (const auto& [name, output] : cases) {
        const Source source = addRecord(name, Version::V802, 12);
        RecordingEvents events;
        EXPECT_EQ(runMerge({source.path}, 2, events).written, 1) << name;
        EXPECT_EQ(readFile(m_folder.file(output)), convert(Version::V802, Version::V705, source.bytes))
            << name;
    }
}

// Each entry is reported once, in list order, with what became of it; a dry
// run reports the same and creates nothing.
TEST_F(MergeTest, ReportsEveryEntrysOutcomeInListOrder) {
    using Kind = EntryOutcome::Kind;
    const Source converts = addRecord("a.dat", Version::V604, 20);
    const Source same = addRecord("b.dat", Version::V802, 21);
    const Source odd = addFile("c.dat", randomBytes(1473, 22));
    const Source huge = addFile("d.dat", randomBytes(5000, 23));
    const std::string missing = m_folder.file("e.dat");
    const std::vector<std::string> list{converts.path, same.path, odd.path, huge.path, missing};

    for (const bool dryRun : {true, false}) { // the dry run first, into an empty folder
        SCOPED_TRACE(dryRun ? "dry run" : "run");
        RecordingEvents events;
        const MergeOutcome outcome = runMerge(list, kTo802, events, dryRun);
        EXPECT_EQ(outcome.kind, MergeOutcome::Kind::Completed);
        EXPECT_EQ(outcome.written, 1);
        EXPECT_EQ(outcome.sourceFailures, 1);
        ASSERT_EQ(events.outcomes.size(), list.size());
        const std::tuple<Kind, std::optional<std::uint64_t>, std::optional<Version>, std::string,
                         std::optional<FileCause>>
            expected[] = {
                {Kind::Converted, 1472, Version::V604, m_folder.file("a_802.dat"), std::nullopt},
                {Kind::SameVersion, 2892, Version::V802, "", std::nullopt},
                {Kind::UnknownLength, 1473, std::nullopt, "", std::nullopt},
                {Kind::UnknownLength, 5000, std::nullopt, "", std::nullopt},
                {Kind::OpenFailed, std::nullopt, std::nullopt, "", FileCause::FileNotFound},
            };
        for (std::size_t i = 0; i < list.size(); ++i) {
            const RecordedOutcome& got = events.outcomes[i];
            const auto& [kind, length, version, output, cause] = expected[i];
            EXPECT_EQ(got.index, i);
            EXPECT_EQ(got.source, list[i]);
            EXPECT_EQ(got.kind, kind) << i;
            EXPECT_EQ(got.length, length) << i;
            EXPECT_EQ(got.sourceVersion, version) << i;
            EXPECT_EQ(got.output, output) << i;
            EXPECT_EQ(got.cause, cause) << i;
            EXPECT_EQ(events.totals[i], list.size());
        }
        EXPECT_EQ(exists(m_folder.file("a_802.dat")), !dryRun);
    }
}

TEST_F(MergeTest, NoTargetIsReportedForEveryReadableEntry) {
    const Source source = addRecord("a.dat", Version::V705, 24);
    RecordingEvents events;
    EXPECT_EQ(runMerge({source.path}, std::nullopt, events).written, 0);
    ASSERT_EQ(events.outcomes.size(), 1u);
    EXPECT_EQ(events.outcomes[0].kind, EntryOutcome::Kind::NoTarget);
    EXPECT_EQ(events.outcomes[0].sourceVersion, Version::V705);
}

#ifndef _WIN32
TEST(SourceFileTest, AFileThatShrankAfterItsLengthWasTakenIsAReadError) {
    TempFolder folder;
    const std::string path = folder.write("shrinking.dat", randomRecord(Version::V604, 13));
    SourceFile source = SourceFile::open(path);
    Bytes buffer(source.length());
    ASSERT_EQ(::truncate(path.c_str(), 100), 0);
    const auto error = expectFileError([&] { readExactly(source, buffer); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->cause(), FileCause::EndOfFile);
}

#endif // _WIN32

} // namespace
} // namespace tallowbrook::test
