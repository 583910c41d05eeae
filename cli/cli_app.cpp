#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <utility>

#include "convert/file_access.h"
#include "convert/merge.h"
#include "records/version_table.h"
#include "tallowbrook_version.h"


namespace tallowbrook::cli {

namespace {

constexpr std::string_view kProgram = "tallowbrook-cli";

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

// Message boxes become lines on standard error; the summary goes to standard output.
class CommandLineEvents final : public MergeEvents {
public:
    CommandLineEvents(bool verbose, std::ostream& out, std::ostream& err) : m_verbose(verbose), m_out(out), m_err(err) {}

    void entryDone(const EntryOutcome& outcome, std::size_t /*total*/) override {
        if (const std::string message = sourceFailureMessage(outcome); !message.empty()) {
            m_err << message;
            if (message.back() != '\n') {
                m_err << '\n';
            }
        }
        if (m_verbose && outcome.kind == EntryOutcome::Kind::Converted) {
            m_out << "Wrote " << outcome.output << '\n';
        }
    }

    void runCompleted(const std::string& summary) override { m_out << summary; }

private:
    bool m_verbose;
    std::ostream& m_out;
    std::ostream& m_err;
};

int mergeFiles(const std::vector<std::string>& files, std::size_t versionIndex, bool verbose,
               std::ostream& out, std::ostream& err) {
    CommandLineEvents events(verbose, out, err);
    const MergeOutcome outcome = runMerge(MergeRequest{files, versionIndex}, events);
    if (outcome.kind == MergeOutcome::Kind::OutputFailed) {
        err << kProgram << ": " << outcome.outputError->description() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

int identifyFiles(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    int status = kExitOk;
    for (const std::string& path : files) {
        try {
            const std::uint64_t length = SourceFile::open(path).length();
            const std::optional<Version> version = versionOfLength(length);
            out << path << ": " << (version ? info(*version).label : "not a configuration file") << " ("
                << length << " bytes)\n";
        } catch (const FileError& error) {
            err << path << ": " << error.description() << '\n';
            status = kExitFailure;
        }
    }
    return status;
}

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

} // namespace

std::optional<std::size_t> versionIndexOfName(std::string_view name) {
    const auto* found = std::find_if(kVersionNames.begin(), kVersionNames.end(),
                                     [name](const auto& entry) { return entry.first == name; });
    if (found == kVersionNames.end()) {
        return std::nullopt;
    }
    return found->second;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Converts laser-engraver driver settings files (.dat) between driver versions.\n"
                 "Each output is written beside its source, with the target version's suffix in its name;\n"
                 "sources are never changed.",
                 std::string(kProgram)};
    app.set_version_flag("--version", std::string(kProgram) + " " + TALLOWBROOK_VERSION);
    app.require_subcommand(1);

    std::string versionName;
    std::vector<std::string> mergeInputs;
    bool verbose = false;
    CLI::App* merge = app.add_subcommand("merge", "Convert FILEs to the chosen version, in the order given");
    merge->add_option("--to", versionName, "Target version: " + versionChoices())->required();
    merge->add_option("files", mergeInputs, "Settings files to convert")->required()->type_name("FILE");
    merge->add_flag("--verbose,-v", verbose, "Also print each output file written");

    std::vector<std::string> identifyInputs;
    CLI::App* identify = app.add_subcommand("identify", "Print the version of each FILE, known by its length");
    identify->add_option("files", identifyInputs, "Files to examine")->required()->type_name("FILE");

    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, out, err);
        return code == 0 ? kExitOk : kExitUsage;
    }

    if (merge->parsed()) {
        const std::optional<std::size_t> index = versionIndexOfName(versionName);
        if (!index) {
            err << kProgram << ": unknown version \"" << versionName << "\"; choose one of "
                << versionChoices() << '\n';
            return kExitUsage;
        }
        return mergeFiles(mergeInputs, *index, verbose, out, err);
    }
    return identifyFiles(identifyInputs, out, err);
}

} // namespace tallowbrook::cli
