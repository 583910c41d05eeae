// The command-line front end, in-process with string streams, and the built
// program end to end where a real process matters (a file-size limit).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string_view>

#include "cli/cli_app.h"
#include "cli/json_text.h"
#include "cli/standard_output.h"
#include "files/path_syntax.h"
#include "tallowbrook_version.h"
#include "tests/support/temp_folder.h"
#include "text/printable_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "winapi/utf16.h"
#include "winapi/windows_prelude.h"
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace tallowbrook::test {
namespace {

using enum Version;

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
    const std::pair<const char*, std::optional<Version>> cases[] = {
        {"6.04", V604}, {"7.00", V700}, {"7.03", V700},       {"7.00-7.04", V700}, {"7.05", V705},
        {"7.07", V707}, {"8.00", V800}, {"8.02", V802},       {"8.01", {}},        {"7.06", {}},
        {"802", {}},    {"", {}},       {"Version 8.02", {}},
    };
    for (const auto& [name, version] : cases) {
        EXPECT_EQ(cli::versionOfName(name), version) << name;
    }
}

// A run of the program as a user types it, and its answer. "{d}" stands for
// the test folder, staged by stageFolder and the working folder of the run;
// the '/'s of a path that starts there are the platform's separator. An
// expected text that does not end a line need only be found in what was
// printed; none is not looked at. Each output in `converted` must hold its
// source converted.
struct Converted {
    Version from;
    const char* source;
    Version to;
    const char* output;
};

struct Transcript {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::optional<std::string> out = {};
    std::optional<std::string> err = {};
    std::vector<Converted> converted = {};
};

void PrintTo(const Transcript& transcript, std::ostream* out) {
    *out << transcript.name << ' ' << ::testing::PrintToString(transcript.args);
}

// The folder itself holds what the platform's conventions are tried on, f/
// the files of plain runs, set/ and empty/ the folders given as arguments.
void stageFolder(const TempFolder& folder) {
    folder.write("X1.dat", randomRecord(V604, 1));
    folder.write("x2.DAT", randomRecord(V700, 2));
    folder.write("Y.dat", randomRecord(V705, 3));
    folder.write("-v.dat", randomRecord(V707, 4));
    std::filesystem::create_directory(folder.path() / "sub.dat"); // a folder matches no wildcard
#ifndef _WIN32
    folder.write("*.dat", randomRecord(V802, 5)); // a name like any other here
#endif
    for (const char* sub : {"f", "set", "set/e.dat", "empty", "f/good_700.dat"}) { // e.dat is no file
        std::filesystem::create_directory(folder.path() / sub);                    // good_700.dat blocks 7.00
    }
    folder.write("f/laser.dat", randomRecord(V705, 1));
    folder.write("f/good.dat", randomRecord(V604, 3));
    folder.write("f/a.dat", randomRecord(V700, 3));
    folder.write("f/b.dat", randomBytes(1473, 4));
    folder.write("f/z.dat", randomRecord(V700, 2));
    for (const char* name : {"b.DAT", "a.dat", "A1.dat", "c.Dat", "notes.txt", "d.dat.bak"}) {
        folder.write("set/" + std::string(name), randomRecord(V604, 1));
    }
}

std::string expanded(std::string text, const std::string& folder) {
    for (std::size_t at = text.find("{d}"); at != std::string::npos; at = text.find("{d}", at)) {
        text.replace(at, 3, folder);
        for (at += folder.size();
             at < text.size() && std::string_view(" :\n").find(text[at]) == std::string::npos; ++at) {
            text[at] = text[at] == '/' ? kFolderSeparator : text[at];
        }
    }
    return text;
}

class CliTranscripts : public ::testing::TestWithParam<Transcript> {};

TEST_P(CliTranscripts, AnswerAsWritten) {
    const Transcript& transcript = GetParam();
    TempFolder folder;
    stageFolder(folder);
    std::string root = folder.file("");
    root.pop_back(); // the separator
    std::vector<std::string> args;
    for (const std::string& arg : transcript.args) {
        args.push_back(expanded(arg, root));
    }
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path()); // for bare names
    const CliRun run = runCli(args);
    std::filesystem::current_path(before);

    EXPECT_EQ(run.status, transcript.status) << run.err;
    for (const auto& [printed, expected] :
         {std::pair(run.out, transcript.out), std::pair(run.err, transcript.err)}) {
        const std::string text = expanded(expected.value_or(""), root);
        if (expected && (text.empty() || text.back() == '\n')) {
            EXPECT_EQ(printed, text);
        } else if (expected) {
            EXPECT_NE(printed.find(text), std::string::npos) << printed;
        }
    }
    for (const auto& [from, source, to, output] : transcript.converted) {
        EXPECT_EQ(readFile(expanded(output, root)), convert(from, to, readFile(expanded(source, root))))
            << output;
    }
}

const std::string kV604 = ": Version 6.04 (1472 bytes)\n";
const std::string kV700 = ": Version 7.00 - 7.04 (1480 bytes)\n";
const std::string kV705 = ": Version 7.05 (1852 bytes)\n";
const std::string kV707 = ": Version 7.07 (1856 bytes)\n";
const std::string kNoMatch = "tallowbrook-cli: no file matches ";
constexpr int kOk = cli::kExitOk, kOutputFailed = cli::kExitOutputFailed, kUsage = cli::kExitUsage,
              kSourcesFailed = cli::kExitSourcesFailed;

// clang-format off
const Transcript kTranscripts[] = {
    // Mistakes in the command exit with 2 and say why.
    {"NoCommand", {}, kUsage, {}, "A subcommand is required"},
    {"MergeWithoutTarget", {"merge", "x.dat"}, kUsage, {}, "--to is required"},
    {"MergeWithoutFiles", {"merge", "--to", "8.02"}, kUsage, {}, "files is required"},
    {"MergeToAnUnknownVersion", {"merge", "--to", "9.99", "x.dat"}, kUsage, {}, "unknown version \"9.99\""},
    {"UnknownCommand", {"frobnicate"}, kUsage, {}, "A subcommand is required"},
    {"MergeWithAnUnknownOption", {"merge", "--frobnicate", "--to", "8.00", "{d}/f/good.dat"}, kUsage, {},
     "not expected: --frobnicate"},
    {"MergeWithoutFilesToAnother", {"merge", "--to", "8.00"}, kUsage, {}, "files is required"},
    {"InspectWithoutFiles", {"inspect"}, kUsage, {}, "files is required"},
    // Help and the version exit with 0; the help says what each exit status means.
    {"Help", {"--help"}, kOk, "merge"},
    {"HelpOnExitZero", {"--help"}, kOk, "0  every file"},
    {"HelpOnExitOne", {"--help"}, kOk, "1  an output"},
    {"HelpOnExitTwo", {"--help"}, kOk, "2  the command"},
    {"HelpOnExitThree", {"--help"}, kOk, "3  done, but"},
    {"Version", {"--version"}, kOk, TALLOWBROOK_VERSION},
    // The summary on standard output, the messages on standard error.
    {"MergeSummaryAndMessages", {"merge", "--to", "8.02", "{d}/f/gone.dat", "{d}/f/laser.dat"}, kSourcesFailed,
     "Done! Merged 1 configuration files.\n", "File could not be opened \n{d}/f/gone.dat was not found.\n",
     {{V705, "{d}/f/laser.dat", V802, "{d}/f/laser_802.dat"}}},
    // The exit status says how the command ended; a file passed over is no failure.
    {"MergeWritten", {"merge", "--to", "8.00", "{d}/f/good.dat"}, kOk},
    {"MergePassedOver", {"merge", "--to", "6.04", "{d}/f/good.dat"}, kOk},
    {"MergeSourceGone", {"merge", "--to", "8.00", "{d}/f/gone.dat", "{d}/f/good.dat"}, kSourcesFailed},
    {"MergeOutputBlocked", {"merge", "--to", "7.00", "{d}/f/gone.dat", "{d}/f/good.dat"}, kOutputFailed},
    {"IdentifyOne", {"identify", "{d}/f/good.dat"}, kOk},
    {"IdentifyOneGone", {"identify", "{d}/f/good.dat", "{d}/f/gone.dat"}, kSourcesFailed},
    {"InspectGoneAsJson", {"inspect", "--json", "{d}/f/gone.dat"}, kSourcesFailed},
    // An output failure ends the run with exit status 1.
    {"MergeOutputFailureEndsTheRun", {"merge", "--to", "7.00", "{d}/f/good.dat", "{d}/f/good.dat"}, kOutputFailed,
     "", "tallowbrook-cli: Access to {d}/f/good_700.dat was denied.\n"},
    // Each file's version named by its length.
    {"IdentifyByLength", {"identify", "{d}/f/a.dat", "{d}/f/b.dat", "{d}/f/c.dat"}, kSourcesFailed,
     "{d}/f/a.dat" + kV700 + "{d}/f/b.dat: not a configuration file (1473 bytes)\n",
     "{d}/f/c.dat: {d}/f/c.dat was not found.\n"},
    // A folder stands for its data files in the list's order (letter case does not count); duplicates kept.
    {"IdentifyAFolder", {"identify", "{d}/f/z.dat", "{d}/set", "{d}/empty", "{d}/f/z.dat"}, kOk,
     "{d}/f/z.dat" + kV700 + "{d}/set/a.dat" + kV604 + "{d}/set/A1.dat" + kV604 + "{d}/set/b.DAT" + kV604 +
     "{d}/set/c.Dat" + kV604 + "{d}/f/z.dat" + kV700},
    {"MergeAFolder", {"merge", "--to", "7.05", "{d}/set"}, kOk, "Done! Merged 4 configuration files.\n", {},
     {{V604, "{d}/set/b.DAT", V705, "{d}/set/b_705.DAT"}}},
    {"MergeAnEmptyFolder", {"merge", "--to", "7.05", "{d}/empty"}, kOk, "", "tallowbrook-cli: no files to convert\n"},
    // The platform's conventions for arguments.
    {"SlashStartsAPath", {"identify", "/absent-folder/x.dat"}, kSourcesFailed, "", "/absent-folder/x.dat: "},
    {"SlashQuestionMarkIsHelp", {"/?"}, kOk, "Subcommands:", ""},
    {"SlashQuestionMarkIsTheCommandsHelp", {"merge", "/?"}, kOk, "Usage: tallowbrook-cli merge", ""},
    {"SlashQuestionMarkAfterOptions", {"merge", "--to", "8.02", "/?"}, kOk, "Usage: tallowbrook-cli merge", ""},
    {"DoubleDashEndsOptions", {"identify", "--", "-v.dat"}, kOk, "-v.dat" + kV707, ""},
#ifdef _WIN32
    {"Wildcard", {"identify", "{d}/*.dat"}, kOk,
     "{d}/-v.dat" + kV707 + "{d}/X1.dat" + kV604 + "{d}/x2.DAT" + kV700 + "{d}/Y.dat" + kV705, ""},
    {"WildcardIgnoresCase", {"identify", "{d}/X?.DAT", "Y.dat"}, kOk,
     "{d}/X1.dat" + kV604 + "{d}/x2.DAT" + kV700 + "Y.dat" + kV705, ""},
    {"WildcardWithoutMatch", {"identify", "{d}/*.none", "Y.dat"}, kSourcesFailed, "Y.dat" + kV705,
     kNoMatch + "{d}/*.none\n"},
    {"WildcardInAFolder", {"identify", "{d}/s*/X1.dat"}, kSourcesFailed, "", kNoMatch + "{d}/s*/X1.dat\n"},
    {"WildcardInAnAbsentFolder", {"identify", "{d}/absent/*.dat"}, kSourcesFailed, "",
     kNoMatch + "{d}/absent/*.dat\n"},
#else
    {"StarIsAName", {"identify", "{d}/*.dat"}, kOk, "{d}/*.dat: Version 8.02 (2892 bytes)\n", ""},
    {"QuestionMarkIsAName", {"identify", "{d}/X?.dat", "Y.dat"}, kSourcesFailed, "Y.dat" + kV705,
     "{d}/X?.dat: {d}/X?.dat was not found.\n"},
#endif
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Runs, CliTranscripts, ::testing::ValuesIn(kTranscripts),
                         [](const auto& row) { return std::string(row.param.name); });

// One file of each version, one of no version's length and one that is gone,
// all converted to 8.02: a line for every entry, in list order, with the reason
// for each that was passed over, and under each written one what its
// conversion changes. The records are zeros but for a 7.00-7.04 record's two
// entries and its 1000 at 836.
struct MixedList {
    TempFolder folder;
    std::vector<std::string> files;
    void merge(bool dryRun, const std::string& summary) const {
        const std::string written = dryRun ? ", would be written as " : ", written as ";
        const std::string from707 =
            "the engraving-setting path \"trevak\\engraving_setting\", 2368: 1, 2372: 0, "
            "the jobs path \"trevak\\jobs\", 2888: 1";
        const std::string fromOlder = "  defaults filled in: 1852: 2, " + from707;
        const std::string changes[] = {
            fromOlder + "\n",
            "  entry offset 8 of entries 1-2 is set to 1000\n" + fromOlder +
                ", entries 1-2 at entry offsets 12: 1, 16: 1, 20: 0; "
                "defaults dropped: bytes 1478-1479: 00 00, entries 1-2 at entry offset 5: 0\n",
            fromOlder + "\n",
            "  defaults filled in: " + from707 + "\n",
            "  defaults filled in: 2888: 1\n",
        };
        std::string lines;
        for (std::size_t i = 0; i < 5; ++i) {
            lines += files[i] + ": " + std::string(kVersionTable[i].label) + written +
                     folder.file("v" + std::to_string(i) + "_802.dat") + "\n" + changes[i];
        }
        lines += files[5] + ": passed over: already Version 8.02\n";
        lines += files[6] + ": passed over: 1473 bytes is the length of no version\n";
        lines += files[7] + ": could not be opened: " + files[7] + " was not found.\n";
        std::vector<std::string> args{"merge", dryRun ? "--dry-run" : "--verbose", "--to", "8.02"};
        args.insert(args.end(), files.begin(), files.end());
        const CliRun run = runCli(args);
        EXPECT_EQ(run.status, cli::kExitSourcesFailed);
        EXPECT_EQ(run.out, lines + summary);
    }
    MixedList() {
        for (std::size_t i = 0; i < kVersionCount; ++i) {
            Bytes record(kVersionTable[i].length, std::byte{0});
            if (i == 1) {
                putU32(record, 800, 2);
                putU32(record, 836, 1000);
            }
            files.push_back(folder.write("v" + std::to_string(i) + ".dat", record));
        }
        files.push_back(folder.write("odd.dat", randomBytes(1473, 9)));
        files.push_back(folder.file("gone.dat"));
    }
};

TEST(CliMerge, VerboseSaysWhatHappenedToEveryEntry) {
    const MixedList list;
    list.merge(false, "Done! Merged 5 configuration files.\n");
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(readFile(list.folder.file("v" + std::to_string(i) + "_802.dat")),
                  convert(*versionAt(i), V802, readFile(list.files[i])));
    }
}

TEST(CliMerge, DryRunSaysWhatWouldBeWrittenAndWritesNothing) {
    const MixedList list;
    const std::vector<std::string> before = list.folder.names();
    list.merge(true, "Dry run: 5 configuration files would be merged; nothing was written.\n");
    EXPECT_EQ(list.folder.names(), before);
}

// A folder that is there but cannot be listed is no empty folder: its cause
// is reported, naming it, and the run ends with exit status 3. Staged with
// what stops even a superuser: no descriptor left on POSIX, another program
// holding the folder without sharing it on Windows.
TEST(CliArguments, AFolderThatCannotBeListedIsReportedWithItsCause) {
    TempFolder folder;
    const std::string set = folder.file("set");
    std::filesystem::create_directory(folder.path() / "set");
    folder.write("set/a.dat", randomRecord(V604, 1));
#ifdef _WIN32
    const HANDLE held = ::CreateFileW(winapi::toWide(set)->c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const CliRun run = runCli({"identify", set});
    ::CloseHandle(held);
    const std::string cause = "A sharing violation occurred while accessing " + set + ".";
#else
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers' own checks need descriptors of their own";
#endif
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    const int next = ::dup(0); // the lowest free descriptor
    ASSERT_GE(next, 0);
    ::close(next);
    rlimit none = before;
    none.rlim_cur = static_cast<rlim_t>(next);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    const CliRun run = runCli({"identify", set});
    ::setrlimit(RLIMIT_NOFILE, &before);
    const std::string cause = set + " could not be opened because there are too many open files.";
#endif
    EXPECT_EQ(run.status, cli::kExitSourcesFailed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Folder could not be read \n" + cause + "\n");
}

TEST(CliInspect, ShowsHeaderEntryCountAndTextSlotsSafely) {
    TempFolder folder;
    Bytes record = randomRecord(V800, 8);
    putText(record, 0, u"Laser\x1b[31m");           // a terminal escape in the device name
    putText(record, 102, std::u16string(32, u'f')); // a form name without terminator: 32 units fill its slot
    putU32(record, 64, 0x08020401);                 // dmSpecVersion 0x0401, dmDriverVersion 0x0802
    putU32(record, 68, (2668U << 16) | 220U);       // dmSize 220, dmDriverExtra 2668 agrees
    putU32(record, 800, 40);                        // more entries than the table holds
    putText(record, 276, u"one");
    putText(record, 864, u"two\ttabs");
    putText(record, 1856, u"trevak\\engraving_setting");
    putText(record, 2376, u"trevak\\jobs");
    const std::string path = folder.write("laser\x7f.dat", record);

    const CliRun run = runCli({"inspect", path});
    EXPECT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_EQ(run.out, folder.file("laser\\x7F.dat") +
                           ": Version 8.00 (2888 bytes)\n"
                           "  device name: \"Laser\\x1B[31m\"\n"
                           "  form name: \"" +
                           std::string(32, 'f') +
                           "\" (no terminator)\n"
                           "  dmSpecVersion: 0x0401\n"
                           "  dmDriverVersion: 0x0802\n"
                           "  dmSize: 220\n"
                           "  dmDriverExtra: 2668\n"
                           "  entry count: 40 (more than the 17 entries the table holds)\n"
                           "  text slot at 276: \"one\"\n"
                           "  text slot at 864: \"two\\ttabs\"\n"
                           "  engraving-setting path: \"trevak\\engraving_setting\"\n"
                           "  jobs path: \"trevak\\jobs\"\n");

    putU32(record, 68, (2672U << 16) | 220U);
    writeFile(path, record);
    EXPECT_NE(runCli({"inspect", path})
                  .out.find("dmDriverExtra: 2672 (disagrees with the length: 2668 expected)\n"),
              std::string::npos);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"laser\x7f.dat"}); // nothing written
}

TEST(CliJson, StringsAreValidWhateverTheyHold) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},
        {"C:\\x \"y\"", "\"C:\\\\x \\\"y\\\"\""},
        {"a\nb\x01\x7f", "\"a\\u000ab\\u0001\\u007f\""},
        {"\xC3\xA9\xF0\x9F\x98\x80", "\"\xC3\xA9\xF0\x9F\x98\x80\""},
        {"bad\xFF\xC3", "\"bad\\ufffd\\ufffd\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
    };
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(cli::jsonString(text), json);
    }
}

#ifndef _WIN32
// A real full disk, staged with a file-size limit on the program's process:
// the run ends with "Disk full" naming the output, the file that stood at that
// name stays as it was, the later entry is not processed, and no temporary
// file is left.
TEST(CliEndToEnd, DiskFullWhileWritingLeavesTheOutputAsItWas) {
    TempFolder folder;
    const std::string first = folder.write("first.dat", randomRecord(V705, 5));
    const std::string second = folder.write("second.dat", randomRecord(V604, 6));
    const Bytes before = randomBytes(10, 7);
    folder.write("first_800.dat", before);

    // 2 KiB stops the 2888-byte record part way.
    const std::string script = "trap '' XFSZ; ulimit -f 2; exec '" TALLOWBROOK_CLI_PATH
                               "' merge --to 8.00 '" +
                               first + "' '" + second + "' 2>'" + folder.file("err.txt") + "'";
    const int status = std::system(("/bin/sh -c \"" + script + "\"").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), cli::kExitOutputFailed);

    const Bytes err = readFile(folder.file("err.txt"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(err.data()), err.size()),
              "tallowbrook-cli: Disk full while accessing " + folder.file("first_800.dat") + ".\n");
    EXPECT_EQ(readFile(folder.file("first_800.dat")), before);
    EXPECT_FALSE(exists(folder.file("second_800.dat")));
    EXPECT_TRUE(folder.temporaryFiles().empty());
}
#endif

// What the program writes to standard output and standard error, one line
// each, written in two pieces split inside a character as a stream may split
// them: plain text, accented Latin, CJK, and a control character as the
// program escapes it.
const std::string kOutputTexts[] = {
    "Done! Merged 3 configuration files.",
    "Grüße, Ærø, façade.dat",
    "設定 レーザー彫刻.dat",
    printableText("bell\a.dat"),
};

// Writes the texts through a StandardOutput over `file` and finishes it.
std::optional<int> writeOutputTexts(std::FILE* file, bool expectConsole) {
    cli::StandardOutput output(file);
    EXPECT_EQ(output.toConsole(), expectConsole);
    std::ostream stream(&output);
    for (const std::string& text : kOutputTexts) {
        const std::size_t half = text.size() / 2 + 1;
        stream.write(text.data(), static_cast<std::streamsize>(half));
        stream.write(text.data() + half, static_cast<std::streamsize>(text.size() - half)) << '\n';
    }
    stream.flush();
    return output.finish();
}

TEST(CliStandardOutput, RedirectedToAFileOrAPipeGetsTheUtf8Bytes) {
    std::string lines;
    for (const std::string& text : kOutputTexts) {
        lines += text + '\n';
    }
    TempFolder folder;
    const std::string path = folder.file("out.txt");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(writeOutputTexts(file, false), std::nullopt);
    const Bytes written = readFile(path);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.data()), written.size()), lines);

    int ends[2] = {-1, -1};
#ifdef _WIN32
    ASSERT_EQ(::_pipe(ends, 1 << 16, _O_BINARY), 0);
    std::FILE* pipe = ::_fdopen(ends[1], "wb");
#else
    ASSERT_EQ(::pipe(ends), 0);
    std::FILE* pipe = ::fdopen(ends[1], "wb");
#endif
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(writeOutputTexts(pipe, false), std::nullopt);
    std::string arrived;
    char buffer[512];
    for (int got = 0; (got = static_cast<int>(::read(ends[0], buffer, sizeof buffer))) > 0;) {
        arrived.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    EXPECT_EQ(arrived, lines);
}

#ifdef _WIN32
// A console of the test's own: the texts arrive as characters in its cells,
// whatever its code page.
TEST(CliStandardOutput, AConsoleGetsTheCharactersThroughItsWideInterface) {
    const HANDLE savedOut = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE savedErr = ::GetStdHandle(STD_ERROR_HANDLE);
    ::FreeConsole();
    ASSERT_TRUE(::AllocConsole());
    ::SetConsoleOutputCP(437); // an old console's code page, which holds none of the texts' non-ASCII letters
    const HANDLE console =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(console, INVALID_HANDLE_VALUE);
    CONSOLE_SCREEN_BUFFER_INFO before{};
    ASSERT_TRUE(::GetConsoleScreenBufferInfo(console, &before));

    const HANDLE writer =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, 0, nullptr);
    std::FILE* file = ::_fdopen(::_open_osfhandle(reinterpret_cast<intptr_t>(writer), _O_BINARY), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(writeOutputTexts(file, true), std::nullopt);

    SHORT row = before.dwCursorPosition.Y;
    for (const std::string& text : kOutputTexts) {
        std::wstring cells(static_cast<std::size_t>(before.dwSize.X), L' ');
        DWORD read = 0;
        ASSERT_TRUE(::ReadConsoleOutputCharacterW(console, cells.data(), static_cast<DWORD>(cells.size()),
                                                  {0, row}, &read));
        cells.erase(cells.find_last_not_of(L' ') + 1);
        EXPECT_EQ(winapi::toUtf8(cells), text);
        ++row;
    }
    ::CloseHandle(console);
    ::FreeConsole();
    ::SetStdHandle(STD_OUTPUT_HANDLE, savedOut);
    ::SetStdHandle(STD_ERROR_HANDLE, savedErr);
}
#endif

} // namespace
} // namespace tallowbrook::test
