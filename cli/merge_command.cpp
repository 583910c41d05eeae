#include "cli/merge_command.h"

#include "cli/cli_app.h"
#include "convert/merge.h"
#include "convert/outcome_text.h"
#include "convert/printable_text.h"

namespace tallowbrook::cli {

namespace {

// The dialog's message boxes become lines on standard error, the summary and
// the per-entry lines go to standard output.
class CommandLineEvents final : public MergeEvents {
public:
    CommandLineEvents(const MergeOptions& options, std::ostream& out, std::ostream& err)
        : m_options(options), m_out(out), m_err(err) {}

    void entryDone(const EntryOutcome& outcome, std::size_t /*total*/) override {
        if (const std::string message = sourceFailureMessage(outcome); !message.empty()) {
            // The box's first line, then the cause, which names a file that
            // may hold any character.
            m_err << message.substr(0, message.find('\n') + 1) << printableText(outcome.error->description())
                  << '\n';
        }
        if (m_options.verbose || m_options.dryRun) {
            m_out << describeOutcome(outcome, m_options.dryRun) << '\n';
        }
    }

    void runCompleted(const std::string& summary) override {
        if (!m_options.dryRun) {
            m_out << summary;
        }
    }

private:
    const MergeOptions& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
};

} // namespace

int mergeFiles(const MergeOptions& options, std::ostream& out, std::ostream& err) {
    CommandLineEvents events(options, out, err);
    const MergeOutcome outcome =
        runMerge(MergeRequest{options.files, options.versionIndex, options.dryRun}, events);
    switch (outcome.kind) {
    case MergeOutcome::Kind::OutputFailed:
        err << kProgramName << ": " << printableText(outcome.outputError->description()) << '\n';
        return kExitOutputFailed;
    case MergeOutcome::Kind::EmptyList:
        err << kProgramName << ": no files to convert\n";
        break;
    case MergeOutcome::Kind::Completed:
        if (options.dryRun) {
            out << "Dry run: " << outcome.written
                << " configuration files would be merged; nothing was written.\n";
        }
        break;
    }
    return outcome.sourceFailures > 0 || options.unreadableFolders > 0 ? kExitSourcesFailed : kExitOk;
}

} // namespace tallowbrook::cli
