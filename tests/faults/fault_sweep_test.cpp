// Every system call of a real Merge run made to fail in turn, in the manner of
// SQLite's I/O-error tests. A run over five files, three of them named through
// their folder, is traced once to count its calls of each primitive, from the
// look at each argument and the folder's listing on; then, for every fault
// kind, the run is repeated once per call with that one call failing. Whatever
// fails: no source changes; each output is absent, as it was, or complete and
// correct; no temporary file is left unless the report names it; and the
// failure is reported with the cause that fits, or, for the closes that can
// lose nothing, passed over. A failure in the folder's look or listing reports
// the folder with its cause, and the run goes on with the other arguments. A
// call that a signal interrupts, or that moves fewer bytes than asked, is
// retried and the run ends as if nothing had happened.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "convert/merge.h"
#include "files/file_error.h"
#include "files/folder_files.h"
#include "files/path_syntax.h"
#include "records/version_table.h"
#include "tests/support/platform_faults.h"
#include "tests/support/recording_events.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

namespace fs = std::filesystem;
using fault::Fault;
using fault::Primitive;

struct FaultKind {
    const char* name;
    Fault fault;
    // The cause the run reports; none for a fault that must be retried away.
    std::optional<FileCause> cause;
};

const FaultKind kFaultKinds[] = {
#ifdef _WIN32
    {"IoDevice", failingWith(ERROR_IO_DEVICE), FileCause::HardIo},
    {"DiskFull", failingWith(ERROR_DISK_FULL), FileCause::DiskFull},
    {"AccessDenied", failingWith(ERROR_ACCESS_DENIED), FileCause::AccessDenied},
    {"SharingViolation", failingWith(ERROR_SHARING_VIOLATION), FileCause::SharingViolation},
    {"LockViolation", failingWith(ERROR_LOCK_VIOLATION), FileCause::LockViolation},
    {"TooManyOpenFiles", failingWith(ERROR_TOO_MANY_OPEN_FILES), FileCause::TooManyOpenFiles},
    {"HandleDiskFull", failingWith(ERROR_HANDLE_DISK_FULL), FileCause::DiskFull},
#else
    {"EIO", failingWith(EIO), FileCause::HardIo},
    {"ENOSPC", failingWith(ENOSPC), FileCause::DiskFull},
    {"EINTR", failingWith(EINTR), std::nullopt},
    {"EACCES", failingWith(EACCES), FileCause::AccessDenied},
    {"EMFILE", failingWith(EMFILE), FileCause::TooManyOpenFiles},
    {"EDQUOT", failingWith(EDQUOT), FileCause::DiskFull},
#endif
    {"ShortTransfer", {Fault::Kind::ShortTransfer, 0}, std::nullopt},
    {"ZeroTransfer", {Fault::Kind::ZeroTransfer, 0}, FileCause::EndOfFile},
};

bool applies(const FaultKind& kind, Primitive primitive) {
    return kind.fault.kind == Fault::Kind::Error || fault::transfersBytes(primitive);
}

// A zero-byte read is the end of the file; a zero-byte write is a full disk.
std::optional<FileCause> expectedCause(const FaultKind& kind, Primitive primitive) {
    if (kind.fault.kind == Fault::Kind::ZeroTransfer && primitive == kWrite) {
        return FileCause::DiskFull;
    }
    return kind.cause;
}

// The calls of each primitive made since the last reset.
std::map<Primitive, unsigned> callCounts() {
    std::map<Primitive, unsigned> calls;
    for (const Primitive primitive : fault::kPrimitives) {
        calls[primitive] = fault::callsOf(primitive);
    }
    return calls;
}

struct RunResult {
    std::map<Primitive, unsigned> argumentCalls; // made by the look at the arguments
    std::vector<ArgumentProblem> problems;
    MergeOutcome outcome;
    RecordingEvents events;
};

// One listed file and what may stand at its output path afterwards.
struct Listed {
    std::string source;
    Bytes bytes;
    std::string output;
    std::optional<Bytes> converted; // set when the run writes an output for it
    std::optional<Bytes> old;       // what stood at the output path before
};

// Five files to 8.02: a new output, one that replaces an older file, one
// already of 8.02, one of no version's length, and another new output. The
// last three are named through their folder.
class Scene {
public:
    Scene() {
        std::filesystem::create_directory(fs::u8path(m_set));
        add(m_folder.file("a"), randomRecord(Version::V705, 1), Version::V705, std::nullopt);
        add(m_folder.file("b"), randomRecord(Version::V604, 2), Version::V604, randomBytes(10, 3));
        add(m_set + kFolderSeparator + "c", randomRecord(Version::V802, 4), std::nullopt, std::nullopt);
        add(m_set + kFolderSeparator + "d", randomBytes(1473, 5), std::nullopt, std::nullopt);
        add(m_set + kFolderSeparator + "e", randomRecord(Version::V800, 6), Version::V800, std::nullopt);
    }

    RunResult run() const {
        RunResult run;
        ExpandedArguments expanded = expandArguments({m_listed[0].source, m_listed[1].source, m_set});
        run.argumentCalls = callCounts();
        run.problems = std::move(expanded.problems);
        run.outcome = runMerge(MergeRequest{expanded.files, Version::V802}, run.events);
        return run;
    }

    const std::string& folderArgument() const { return m_set; }

    const std::vector<Listed>& listed() const { return m_listed; }

    // What the run writes of the first `count` files: of all, or, with 2, of
    // those outside the folder, when the folder stands for nothing.
    int converting(std::size_t count = 5) const {
        return static_cast<int>(
            std::count_if(m_listed.begin(), m_listed.begin() + static_cast<std::ptrdiff_t>(count),
                          [](const Listed& listed) { return listed.converted.has_value(); }));
    }

    // What must hold whatever failed. `endedAt` is the entry at which an output
    // failure ended the run, if one did.
    void checkFiles(const RunResult& run, std::optional<std::size_t> endedAt) const {
        for (std::size_t i = 0; i < m_listed.size(); ++i) {
            const Listed& listed = m_listed[i];
            EXPECT_TRUE(readFile(listed.source) == listed.bytes) << "source changed: " << listed.source;
            const std::optional<Bytes> now =
                exists(listed.output) ? std::optional(readFile(listed.output)) : std::nullopt;
            if (!listed.converted) {
                EXPECT_FALSE(now.has_value()) << "written: " << listed.output;
                continue;
            }
            const bool complete = now == listed.converted;
            EXPECT_TRUE(complete || now == listed.old) << "neither old nor complete: " << listed.output;
            if (endedAt && i > *endedAt) {
                EXPECT_TRUE(now == listed.old) << "written after the run ended: " << listed.output;
            }
#ifndef _WIN32
            if (complete && listed.old) {
                EXPECT_EQ(fs::status(fs::u8path(listed.output)).permissions(), kOldPermissions)
                    << "the replacement lost the old file's permissions";
            }
#endif
        }
        // Temporary files left behind are exactly those the report names.
        std::set<std::string> named;
        for (const RecordedOutcome& entry : run.events.outcomes) {
            if (entry.error && entry.error->leftBehind()) {
                named.insert(*entry.error->leftBehind());
            }
        }
        std::set<std::string> left;
        for (const std::string& name : m_folder.temporaryFiles()) {
            left.insert(m_folder.file(name));
        }
        for (const std::string& name : m_folder.temporaryFiles("set")) {
            left.insert(m_set + kFolderSeparator + name);
        }
        EXPECT_EQ(left, named);
    }

    // Everything written, as a run without faults ends.
    void checkUndisturbed(const RunResult& run) const {
        EXPECT_TRUE(run.problems.empty()) << run.problems.front().argument;
        EXPECT_EQ(run.outcome.kind, MergeOutcome::Kind::Completed);
        EXPECT_EQ(run.outcome.written, converting());
        EXPECT_EQ(run.events.messages,
                  std::vector<std::string>{"Done! Merged " + std::to_string(converting()) +
                                           " configuration files.\n"});
        for (const Listed& listed : m_listed) {
            if (listed.converted) {
                EXPECT_TRUE(exists(listed.output) && readFile(listed.output) == *listed.converted)
                    << "not written: " << listed.output;
            }
        }
        for (const RecordedOutcome& entry : run.events.outcomes) {
            EXPECT_FALSE(entry.error.has_value()) << entry.error->what();
        }
    }

private:
#ifndef _WIN32
    // rw-rw-rw-: wider than the test's umask lets a new file be, so the
    // replacement must get them through fchmod.
    static constexpr fs::perms kOldPermissions = static_cast<fs::perms>(0666);
#endif

    void add(const std::string& stem, Bytes bytes, std::optional<Version> from, std::optional<Bytes> old) {
        Listed listed{stem + ".dat", std::move(bytes), stem + "_802.dat", {}, old};
        writeFile(listed.source, listed.bytes);
        if (from) {
            listed.converted = convert(*from, Version::V802, listed.bytes);
        }
        if (old) {
            writeFile(listed.output, *old);
#ifndef _WIN32
            fs::permissions(fs::u8path(listed.output), kOldPermissions);
#endif
        }
        m_listed.push_back(std::move(listed));
    }

    TempFolder m_folder;
    std::string m_set = m_folder.file("set");
    std::vector<Listed> m_listed;
};

void PrintTo(const FaultKind& kind, std::ostream* out) {
    *out << kind.name;
}

// A fault kind, and whether every removal of a temporary file fails too.
class FaultSweep : public ::testing::TestWithParam<std::tuple<FaultKind, bool>> {
protected:
    void SetUp() override {
#ifndef _WIN32
        ::umask(022);
#endif
        fault::reset();
    }
    void TearDown() override {
        fault::reset();
    }
};

TEST_P(FaultSweep, EveryCallOfEveryPrimitive) {
    const auto& [kind, removalFails] = GetParam();
    // The run without faults, traced.
    const Scene traced;
    fault::reset();
    const RunResult faultless = traced.run();
    traced.checkUndisturbed(faultless);
    std::map<Primitive, unsigned> calls = callCounts();
    ASSERT_FALSE(HasFailure()) << "the run without faults went wrong";

    unsigned cases = 0;
    unsigned passedOver = 0;
    unsigned leftBehind = 0;
    unsigned folderReports = 0;
    for (const Primitive primitive : fault::kPrimitives) {
        if (!applies(kind, primitive)) {
            continue;
        }
        for (unsigned nth = 1; nth <= calls[primitive]; ++nth) {
            SCOPED_TRACE(std::string(fault::nameOf(primitive)) + " call " + std::to_string(nth) + ": " +
                         kind.name);
            const Scene scene;
            fault::reset();
            fault::arm(primitive, nth, kind.fault);
            if (removalFails) {
                fault::armEvery(kRemove, kRemovalFault);
            }
            const RunResult run = scene.run();
            const bool reached = fault::callsOf(primitive) >= nth;
            fault::reset();
            ++cases;
            ASSERT_TRUE(reached) << "the call was never made";

            const std::optional<FileCause> cause = expectedCause(kind, primitive);
            const bool inArguments = nth <= faultless.argumentCalls.at(primitive);
            if (!run.problems.empty()) {
                // The folder is reported with its cause; the run goes on without it.
                ASSERT_TRUE(inArguments && cause) << "reported: " << run.problems.front().argument;
                ASSERT_EQ(run.problems.size(), 1u);
                const ArgumentProblem& problem = run.problems.front();
                EXPECT_EQ(problem.argument, scene.folderArgument());
                ASSERT_TRUE(problem.error.has_value());
                EXPECT_EQ(problem.error->cause(), *cause) << problem.error->what();
                EXPECT_EQ(problem.error->path(), scene.folderArgument());
                EXPECT_EQ(run.outcome.kind, MergeOutcome::Kind::Completed);
                EXPECT_EQ(run.outcome.written, scene.converting(2));
                EXPECT_EQ(run.events.outcomes.size(), 2u);
                scene.checkFiles(run, std::nullopt);
                ++folderReports;
                continue;
            }

            std::optional<std::size_t> failed;
            for (std::size_t i = 0; i < run.events.outcomes.size(); ++i) {
                if (run.events.outcomes[i].error) {
                    EXPECT_FALSE(failed.has_value()) << "one fault, two failures";
                    failed = i;
                }
            }
            const bool outputFailed = run.outcome.kind == MergeOutcome::Kind::OutputFailed;
            scene.checkFiles(run, outputFailed ? failed : std::nullopt);

            if (!cause || !failed) {
                // Retried away, or a close that loses nothing: counted below. No
                // report names a failed look at a file among the arguments (the run
                // opens it anyway), nor a failed close of the listing.
                passedOver += cause && primitive == kClose ? 1u : 0u;
                EXPECT_TRUE(!cause || primitive == kClose ||
                            (inArguments && (primitive == kLookAtPath || primitive == kCloseListing)))
                    << "the failure was passed over";
                scene.checkUndisturbed(run);
                continue;
            }

            const RecordedOutcome& entry = run.events.outcomes[*failed];
            const Listed& listed = scene.listed()[*failed];
            ASSERT_TRUE(entry.error.has_value());
            EXPECT_EQ(entry.error->cause(), *cause) << entry.error->what();
            leftBehind += entry.error->leftBehind() ? 1u : 0u;
            if (entry.kind == EntryOutcome::Kind::OutputFailed) {
                ASSERT_TRUE(outputFailed);
                EXPECT_EQ(*failed + 1, run.events.outcomes.size())
                    << "the run went on after an output failure";
                EXPECT_EQ(run.events.summaries, 0);
                EXPECT_STREQ(run.outcome.outputError->what(), entry.error->what());
                // Flush and close may name no file. (On POSIX the folder's flush
                // names the output it was to make durable.)
                const std::optional<std::string>& path = entry.error->path();
                EXPECT_TRUE(path == listed.output || (!path && (primitive == kFlush || primitive == kClose)))
                    << entry.error->what();
            } else {
                // A source that cannot be opened or read is reported, and the run goes on.
                EXPECT_TRUE(entry.kind == EntryOutcome::Kind::OpenFailed ||
                            entry.kind == EntryOutcome::Kind::ReadFailed);
                EXPECT_EQ(entry.error->path(), listed.source);
                EXPECT_EQ(run.outcome.kind, MergeOutcome::Kind::Completed);
                EXPECT_EQ(run.outcome.written, scene.converting() - (listed.converted ? 1 : 0));
            }
            if (entry.error->leftBehind()) {
                EXPECT_NE(
                    std::string(entry.error->what())
                        .find(" The temporary file " + *entry.error->leftBehind() + " could not be removed."),
                    std::string::npos)
                    << entry.error->what();
            }
        }
    }

    // The failures passed over are exactly the closes of the sources (and, on
    // POSIX, of the folders that were listed or flushed): every other close is
    // an output's.
    if (applies(kind, kClose) && expectedCause(kind, kClose)) {
        EXPECT_EQ(passedOver, calls[kClose] - static_cast<unsigned>(traced.converting()));
    }
    // With removal failing, every failure after a temporary file was made leaves
    // it behind, and says so.
    if (removalFails && kind.cause) {
        EXPECT_GT(leftBehind, 0u);
    } else {
        EXPECT_EQ(leftBehind, 0u);
    }
    // The look at the arguments and the listing go through the seam: their
    // failures are reported.
    EXPECT_EQ(folderReports > 0, kind.fault.kind == Fault::Kind::Error && kind.cause.has_value());
    std::printf("[ sweep    ] %s%s: %u cases\n", kind.name, removalFails ? ", removal failing" : "", cases);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultSweep,
                         ::testing::Combine(::testing::ValuesIn(kFaultKinds), ::testing::Bool()),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) +
                                    (std::get<1>(param.param) ? "_RemovalFails" : "");
                         });

} // namespace
} // namespace tallowbrook::test
