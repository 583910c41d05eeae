// Single calls of a one-file run made to fail, where the sweep can only say
// "reported" or "passed over" and the exact report matters: the folder's flush,
// the permission bits, the real cause behind a refused access, the bound on
// retries, and the temporary file that cannot be removed.
//
// The run converts a.dat (7.05) to 8.02 over an existing a_802.dat. Its calls
// come in this order on POSIX: open, fstat, flock, fstat, read (the source);
// stat, access, open, fchmod, flock, write, fsync, close, rename (the output);
// open, fsync, close (the output's folder); close (the source).

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "convert/merge.h"
#include "files/file_error.h"
#include "records/version_table.h"
#include "tests/support/platform_faults.h"
#include "tests/support/recording_events.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

using fault::Fault;
using fault::Primitive;

class FaultSpots : public ::testing::Test {
protected:
    FaultSpots() { fault::reset(); }
    ~FaultSpots() override { fault::reset(); }

    MergeOutcome run() { return runMerge({m_source}, indexOf(Version::V802), m_events); }

    Bytes converted() const { return convert(Version::V705, Version::V802, m_record); }

    TempFolder m_folder;
    const Bytes m_record = randomRecord(Version::V705, 1);
    const Bytes m_old = randomBytes(10, 2);
    const std::string m_source = m_folder.write("a.dat", m_record);
    const std::string m_output = m_folder.write("a_802.dat", m_old);
    RecordingEvents m_events;
};

#ifndef _WIN32
struct Spot {
    const char* name;
    Primitive primitive;
    unsigned nth;
    int error;
    // Empty: the run completes with the output written. Otherwise the report,
    // {out} standing for the output's path.
    const char* report;
    bool outputComplete; // after a failure: the output was already in place
};

const Spot kSpots[] = {
    // A file system that cannot flush a folder is no failure; any other error is.
    {"FolderFlushUnsupported", Primitive::Fsync, 2, EINVAL, "", true},
    {"FolderFlushNotSupported", Primitive::Fsync, 2, ENOTSUP, "", true},
    {"FolderFlushReadOnly", Primitive::Fsync, 2, EROFS, "", true},
    {"FolderOpenUnsupported", Primitive::Open, 3, EINVAL, "", true},
    {"FolderFlushIoError", Primitive::Fsync, 2, EIO,
     "A hardware I/O error was reported while accessing {out}.", true},
    {"FolderFlushDiskFull", Primitive::Fsync, 2, ENOSPC, "Disk full while accessing {out}.", true},
    {"FolderOpenDenied", Primitive::Open, 3, EACCES, "Access to {out} was denied.", true},
    {"FolderCloseIgnored", Primitive::Close, 2, EIO, "", true},
    // The old output's permission bits could not be carried over.
    {"PermissionsNotKept", Primitive::Fchmod, 1, EPERM, "Access to {out} was denied.", false},
    // access() failing for another reason than permission says which.
    {"AccessIoError", Primitive::Access, 1, EIO, "A hardware I/O error was reported while accessing {out}.",
     false},
    {"AccessReadOnlyFileSystem", Primitive::Access, 1, EROFS, "Access to {out} was denied.", false},
    // Flush and close of the output name no file.
    {"FileFlush", Primitive::Fsync, 1, EIO,
     "A hardware I/O error was reported while accessing an unnamed file.", false},
    {"FileClose", Primitive::Close, 1, EIO,
     "A hardware I/O error was reported while accessing an unnamed file.", false},
    {"FileCloseInterrupted", Primitive::Close, 1, EINTR, "", true},
    {"Rename", Primitive::Rename, 1, EXDEV, "An unknown error occurred while accessing {out}.", false},
    {"SourceClose", Primitive::Close, 3, EIO, "", true},
};

void PrintTo(const Spot& spot, std::ostream* out) {
    *out << spot.name;
}

class FaultSpot : public FaultSpots, public ::testing::WithParamInterface<Spot> {};

TEST_P(FaultSpot, IsReportedAsItShouldBe) {
    const Spot& spot = GetParam();
    fault::arm(spot.primitive, spot.nth, failingWith(spot.error));
    const MergeOutcome outcome = run();
    EXPECT_EQ(fault::faultsTaken(), 1u);
    fault::reset();

    EXPECT_EQ(readFile(m_source), m_record);
    EXPECT_TRUE(m_folder.temporaryFiles().empty());
    if (std::string(spot.report).empty()) {
        EXPECT_EQ(outcome.kind, MergeOutcome::Kind::Completed);
        EXPECT_EQ(outcome.written, 1);
        EXPECT_EQ(readFile(m_output), converted());
        return;
    }
    ASSERT_EQ(outcome.kind, MergeOutcome::Kind::OutputFailed);
    EXPECT_EQ(outcome.written, 0);
    std::string report = spot.report;
    if (const std::size_t at = report.find("{out}"); at != std::string::npos) {
        report.replace(at, 5, m_output);
    }
    EXPECT_EQ(outcome.outputError->what(), report);
    EXPECT_EQ(m_events.summaries, 0);
    EXPECT_EQ(readFile(m_output), spot.outputComplete ? converted() : m_old);
}

INSTANTIATE_TEST_SUITE_P(Calls, FaultSpot, ::testing::ValuesIn(kSpots), ::testing::PrintToStringParamName());

// A call interrupted again and again is not retried for ever: the bound ends it
// as a failure of its own.
TEST_F(FaultSpots, EndlessInterruptionsEndInAnError) {
    fault::armEvery(Primitive::Read, failingWith(EINTR));
    const MergeOutcome outcome = run();
    EXPECT_EQ(fault::callsOf(Primitive::Read), 100u);
    fault::reset();
    EXPECT_EQ(outcome.kind, MergeOutcome::Kind::Completed);
    EXPECT_EQ(m_events.messages,
              (std::vector<std::string>{
                  "File could not be read \nAn unknown error occurred while accessing " + m_source + ".",
                  "Done! Merged 0 configuration files.\n"}));
    EXPECT_EQ(readFile(m_output), m_old);
}

// An interruption is retried away.
class InterruptedCall : public FaultSpots, public ::testing::WithParamInterface<Primitive> {};

TEST_P(InterruptedCall, IsRetried) {
    fault::arm(GetParam(), 1, failingWith(EINTR));
    EXPECT_EQ(run().written, 1);
    EXPECT_GE(fault::callsOf(GetParam()), 2u) << "not retried";
    fault::reset();
    EXPECT_EQ(readFile(m_output), converted());
}

INSTANTIATE_TEST_SUITE_P(Calls, InterruptedCall,
                         ::testing::Values(Primitive::Open, Primitive::Stat, Primitive::Fstat,
                                           Primitive::Access, Primitive::Flock, Primitive::Read,
                                           Primitive::Write, Primitive::Fchmod, Primitive::Fsync,
                                           Primitive::Rename),
                         [](const auto& param) { return std::string(fault::nameOf(param.param)); });
#endif

// A failed output whose temporary file cannot be removed says where it is.
TEST_F(FaultSpots, ATemporaryFileThatStaysIsNamed) {
    fault::arm(kWrite, 1, kIoFault);
    fault::armEvery(kRemove, kRemovalFault);
    const MergeOutcome outcome = run();
    fault::reset();

    const std::vector<std::string> left = m_folder.temporaryFiles();
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(outcome.kind, MergeOutcome::Kind::OutputFailed);
    EXPECT_EQ(outcome.outputError->leftBehind(), m_folder.file(left.front()));
    EXPECT_EQ(outcome.outputError->what(), "A hardware I/O error was reported while accessing " + m_output +
                                               ". The temporary file " + m_folder.file(left.front()) +
                                               " could not be removed.");
    EXPECT_EQ(readFile(m_output), m_old);
}

} // namespace
} // namespace tallowbrook::test
