#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <utility>

#include "cli/examine_commands.h"
#include "cli/file_arguments.h"
#include "cli/merge_command.h"
#include "tallowbrook_version.h"

namespace tallowbrook::cli {

namespace {

// The 7.00 to 7.04 releases share one layout, so each of their numbers names it.
constexpr std::array<std::pair<std::string_view, std::size_t>, 12> kVersionNames{{
    {"6.04", 0},
    {"7.00", 1},
    {"7.01", 1},
    {"7.02", 1},
    {"7.03", 1},
    {"7.04", 1},
    {"7.00-7.04", 1},
    {"7.00 - 7.04", 1},
    {"7.05", 2},
    {"7.07", 3},
    {"8.00", 4},
    {"8.02", 5},
}};

std::string versionChoices() {
    std::string text;
    for (const auto& [name, index] : kVersionNames) {
        if (name.find(' ') == std::string_view::npos) {
            text += text.empty() ? "" : ", ";
            text += name;
        }
    }
    return text;
}

// The arguments as the parser takes them: last first, and "/?", which every
// Windows user types for help, as "--help" at the level where it stands. After
// "--" everything is a file.
std::vector<std::string> reversedForParsing(const std::vector<std::string>& args) {
    std::vector<std::string> reversed;
    bool options = true;
    for (const std::string& arg : args) {
        options = options && arg != "--";
        reversed.push_back(options && arg == "/?" ? "--help" : arg);
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

} // namespace

std::optional<Version> versionOfName(std::string_view name) {
    const auto* found = std::find_if(kVersionNames.begin(), kVersionNames.end(),
                                     [name](const auto& entry) { return entry.first == name; });
    if (found == kVersionNames.end()) {
        return std::nullopt;
    }
    return versionAt(found->second);
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Converts laser-engraver driver settings files (.dat) between driver versions.\n"
                 "Each output is written beside its source, with the target version's suffix in its name;\n"
                 "sources are never changed.",
                 std::string(kProgramName)};
    // An argument that begins with "/" is a path on every platform ("/cfg/x.dat"
    // on the current drive on Windows), never an option; subcommands inherit this.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string(kProgramName) + " " + TALLOWBROOK_VERSION);
    app.require_subcommand(1);

    app.footer("Exit status:\n"
               "  0  every file was done\n"
               "  1  an output file failed, which ended the run\n"
               "  2  the command line is wrong\n"
               "  3  done, but some files or folders could not be opened or read\n"
               "A FOLDER stands for the files it holds whose names end in .dat (any letter case).");

    std::string versionName;
    MergeOptions mergeOptions;
    std::vector<std::string> mergeInputs;
    CLI::App* merge = app.add_subcommand("merge", "Convert FILEs to the chosen version, in the order given");
    merge->add_option("--to", versionName, "Target version: " + versionChoices())->required();
    merge->add_option("files", mergeInputs, "Settings files or folders to convert")
        ->required()
        ->type_name("FILE|FOLDER");
    merge->add_flag("--verbose,-v", mergeOptions.verbose,
                    "Print what happened to every file, and what each conversion drops, changes or fills in");
    merge->add_flag("--dry-run,-n", mergeOptions.dryRun, "Print what a run would write, and write nothing");
    merge->add_flag("--json", mergeOptions.json,
                    "Print one JSON array, an object per file with what its conversion changes");

    ExamineOptions identifyOptions;
    std::vector<std::string> identifyInputs;
    CLI::App* identify = app.add_subcommand("identify", "Print the version of each FILE, known by its length");
    identify->add_option("files", identifyInputs, "Files or folders to examine")->required()->type_name("FILE|FOLDER");
    identify->add_flag("--json", identifyOptions.json, "Print one JSON array, an object per file");

    ExamineOptions inspectOptions{{}, Detail::Record};
    std::vector<std::string> inspectInputs;
    CLI::App* inspect = app.add_subcommand(
        "inspect", "Print each FILE's version, header members, entry count and text slots");
    inspect->add_option("files", inspectInputs, "Files or folders to examine")->required()->type_name("FILE|FOLDER");
    inspect->add_flag("--json", inspectOptions.json, "Print one JSON array, an object per file");

    try {
        app.parse(reversedForParsing(args));
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, out, err);
        return code == 0 ? kExitOk : kExitUsage;
    }

    if (merge->parsed()) {
        const std::optional<Version> target = versionOfName(versionName);
        if (!target) {
            err << kProgramName << ": unknown version \"" << versionName << "\"; choose one of "
                << versionChoices() << '\n';
            return kExitUsage;
        }
        FileArguments expanded = expandFileArguments(mergeInputs, err);
        mergeOptions.files = std::move(expanded.files);
        mergeOptions.target = *target;
        mergeOptions.unreadableFolders = expanded.unreadableFolders;
        return mergeFiles(mergeOptions, out, err);
    }
    ExamineOptions& options = identify->parsed() ? identifyOptions : inspectOptions;
    FileArguments expanded = expandFileArguments(identify->parsed() ? identifyInputs : inspectInputs, err);
    options.files = std::move(expanded.files);
    options.unreadableFolders = expanded.unreadableFolders;
    return examineFiles(options, out, err);
}

} // namespace tallowbrook::cli
