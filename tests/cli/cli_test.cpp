// The command-line front end, in-process with string streams, and the built
// program end to end where a real process matters (a file-size limit).

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/cli_app.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runCli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliVersionNames, AcceptTheReleasesAndNothingElse) {
    const std::pair<const char*, std::optional<std::size_t>> cases[] = {
        {"6.04", 0},      {"7.00", 1},  {"7.03", 1}, {"7.00-7.04", 1}, {"7.05", 2}, {"7.07", 3},
        {"8.00", 4},      {"8.02", 5},  {"8.01", {}}, {"7.06", {}},    {"802", {}}, {"", {}},
        {"Version 8.02", {}},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(cli::versionIndexOfName(name), index) << name;
    }
}

TEST(CliUsage, MistakesExitWithTwoAndSayWhy) {
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"merge", "x.dat"},
        {"merge", "--to", "8.02"},
        {"merge", "--to", "9.99", "x.dat"},
        {"frobnicate"},
    };
    for (const auto& args : mistakes) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, cli::kExitUsage) << ::testing::PrintToString(args);
        EXPECT_FALSE(run.err.empty()) << ::testing::PrintToString(args);
    }
    EXPECT_NE(runCli({"merge", "--to", "9.99", "x.dat"}).err.find("unknown version \"9.99\""), std::string::npos);
}

TEST(CliUsage, HelpAndVersionExitWithZero) {
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, cli::kExitOk);
    EXPECT_NE(help.out.find("merge"), std::string::npos);
    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, cli::kExitOk);
    EXPECT_NE(version.out.find("1.0.0.3"), std::string::npos);
}

TEST(CliMerge, SummaryOnStandardOutputMessagesOnStandardError) {
    TempFolder folder;
    const std::string source = folder.file("laser.dat");
    writeFile(source, randomRecord(Version::V705, 1));
    const std::string missing = folder.file("gone.dat");

    const CliRun run = runCli({"merge", "--verbose", "--to", "8.02", missing, source});
    EXPECT_EQ(run.status, cli::kExitOk);
    EXPECT_EQ(run.out, "Wrote " + folder.file("laser_802.dat") + "\nDone! Merged 1 configuration files.\n");
    EXPECT_EQ(run.err, "File could not be opened \n" + missing + " was not found.\n");
    EXPECT_EQ(readFile(folder.file("laser_802.dat")), convert(Version::V705, Version::V802, readFile(source)));
}

TEST(CliMerge, AnOutputFailureEndsTheRunWithExitOne) {
    TempFolder folder;
    const std::string source = folder.file("laser.dat");
    writeFile(source, randomRecord(Version::V604, 2));
    std::filesystem::create_directory(folder.file("laser_700.dat"));

    const CliRun run = runCli({"merge", "--to", "7.00", source, source});
    EXPECT_EQ(run.status, cli::kExitFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tallowbrook-cli: Access to " + folder.file("laser_700.dat") + " was denied.\n");
}

TEST(CliIdentify, NamesEachFilesVersionByItsLength) {
    TempFolder folder;
    writeFile(folder.file("a.dat"), randomRecord(Version::V700, 3));
    writeFile(folder.file("b.dat"), randomBytes(1473, 4));
    const CliRun run = runCli({"identify", folder.file("a.dat"), folder.file("b.dat"), folder.file("c.dat")});
    EXPECT_EQ(run.status, cli::kExitFailure);
    EXPECT_EQ(run.out, folder.file("a.dat") + ": Version 7.00 - 7.04 (1480 bytes)\n" + folder.file("b.dat") +
                           ": not a configuration file (1473 bytes)\n");
    EXPECT_EQ(run.err, folder.file("c.dat") + ": " + folder.file("c.dat") + " was not found.\n");
}

#ifndef _WIN32
// A real full disk, staged with a file-size limit on the program's process:
// the run ends with "Disk full" naming the output, the file that stood at that
// name stays as it was, the later entry is not processed, and no temporary
// file is left.
TEST(CliEndToEnd, DiskFullWhileWritingLeavesTheOutputAsItWas) {
    TempFolder folder;
    const std::string first = folder.file("first.dat");
    const std::string second = folder.file("second.dat");
    writeFile(first, randomRecord(Version::V705, 5));
    writeFile(second, randomRecord(Version::V604, 6));
    const Bytes before = randomBytes(10, 7);
    writeFile(folder.file("first_800.dat"), before);

    // 2 KiB stops the 2888-byte record part way.
    const std::string script = "trap '' XFSZ; ulimit -f 2; exec '" TALLOWBROOK_CLI_PATH "' merge --to 8.00 '" +
                               first + "' '" + second + "' 2>'" + folder.file("err.txt") + "'";
    const int status = std::system(("/bin/sh -c \"" + script + "\"").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), cli::kExitFailure);

    const Bytes err = readFile(folder.file("err.txt"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(err.data()), err.size()),
              "tallowbrook-cli: Disk full while accessing " + folder.file("first_800.dat") + ".\n");
    EXPECT_EQ(readFile(folder.file("first_800.dat")), before);
    EXPECT_FALSE(exists(folder.file("second_800.dat")));
    EXPECT_TRUE(folder.temporaryFiles().empty());
}
#endif

} // namespace
} // namespace tallowbrook::test
