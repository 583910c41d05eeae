#include "cli/merge_command.h"

#include "cli/cli_app.h"
#include "cli/json_text.h"
#include "convert/change_text.h"
#include "convert/merge.h"
#include "convert/outcome_text.h"
#include "text/printable_text.h"

namespace tallowbrook::cli {

namespace {

const char* outcomeName(const EntryOutcome& outcome, bool dryRun) {
    using Kind = EntryOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Converted:
        return dryRun ? "wouldWrite" : "written";
    case Kind::SameVersion:
        return "sameVersion";
    case Kind::UnknownLength:
        return "unknownLength";
    case Kind::NoTarget:
        return "noTarget";
    case Kind::OpenFailed:
        return "openFailed";
    case Kind::ReadFailed:
        return "readFailed";
    case Kind::OutputFailed:
        return "outputFailed";
    }
    return "";
}

std::string jsonValue(const FieldValue& value) {
    switch (value.form) {
    case FieldValue::Form::Number:
        return std::to_string(value.number);
    case FieldValue::Form::Text:
        return jsonString(textOf(value).text);
    case FieldValue::Form::Bytes:
        return jsonString(hexBytes(value));
    case FieldValue::Form::None:
        break;
    }
    return "null";
}

// The changes of a converted entry as JSON objects, one per field.
class JsonChanges final : public FieldChangeSink {
public:
    explicit JsonChanges(std::string& json) : m_json(json) {}

    void fieldChanged(const FieldChange& change) override {
        static constexpr const char* kKinds[] = {"dropped", "changed", "filled"};
        m_json += m_first ? "\n    " : ",\n    ";
        m_first = false;
        m_json += R"({"field": )" + jsonString(fieldName(change));
        m_json += R"(, "offset": )" + std::to_string(change.offset);
        m_json += R"(, "kind": ")";
        m_json += kKinds[static_cast<std::size_t>(change.kind)];
        m_json += R"(", "from": )" + jsonValue(change.from);
        m_json += R"(, "to": )" + jsonValue(change.to);
        m_json += R"(, "isDefault": )";
        m_json += change.isDefault ? "true}" : "false}";
    }

    bool empty() const { return m_first; }

private:
    std::string& m_json;
    bool m_first = true;
};

std::string jsonObject(const EntryOutcome& outcome, const MergeOptions& options) {
    std::string json = R"({"source": )" + jsonString(outcome.source);
    json += R"(, "outcome": ")";
    json += outcomeName(outcome, options.dryRun);
    json += R"(", "output": )" + (outcome.output.empty() ? "null" : jsonString(outcome.output));
    json += R"(, "sourceVersion": )" +
            (outcome.sourceVersion ? jsonString(info(*outcome.sourceVersion).label) : "null");
    json += R"(, "targetVersion": )" + jsonString(info(options.target).label);
    if (outcome.error) {
        const std::string message = sourceFailureMessage(outcome);
        json += R"(, "message": )" + jsonString(message.empty() ? std::string(outcome.error->what()) : message);
    }
    json += R"(, "changes": [)";
    JsonChanges changes(json);
    if (outcome.kind == EntryOutcome::Kind::Converted) {
        compareRecords(outcome.sourceRecord, outcome.targetRecord, changes);
    }
    return json + (changes.empty() ? "]}" : "\n  ]}");
}

// The dialog's message boxes become lines on standard error, the summary and
// the per-entry lines go to standard output; with --json, standard output
// carries one JSON array and nothing else.
class CommandLineEvents final : public MergeEvents {
public:
    CommandLineEvents(const MergeOptions& options, std::ostream& out, std::ostream& err)
        : m_options(options), m_out(out), m_err(err) {}

    void entryDone(const EntryOutcome& outcome, std::size_t /*total*/) override {
        if (const std::string message = sourceFailureMessage(outcome); !message.empty()) {
            // The box's first line, then the cause, which names a file that
            // may hold any character.
            m_err << message.substr(0, message.find('\n') + 1) << printableText(outcome.error->what())
                  << '\n';
        }
        if (m_options.json) {
            m_out << (outcome.index == 0 ? "[\n  " : ",\n  ") << jsonObject(outcome, m_options);
        } else if (m_options.verbose || m_options.dryRun) {
            m_out << describeOutcome(outcome, m_options.dryRun) << '\n' << changeLines(outcome);
        }
    }

    void runCompleted(const std::string& summary) override {
        if (!m_options.dryRun && !m_options.json) {
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
        runMerge(MergeRequest{options.files, options.target, options.dryRun}, events);
    if (options.json) {
        out << (options.files.empty() ? "[]\n" : "\n]\n");
    }
    switch (outcome.kind) {
    case MergeOutcome::Kind::OutputFailed:
        err << kProgramName << ": " << printableText(outcome.outputError->what()) << '\n';
        return kExitOutputFailed;
    case MergeOutcome::Kind::EmptyList:
        err << kProgramName << ": no files to convert\n";
        break;
    case MergeOutcome::Kind::Completed:
        if (options.dryRun && !options.json) {
            out << "Dry run: " << outcome.written
                << " configuration files would be merged; nothing was written.\n";
        }
        break;
    }
    return outcome.sourceFailures > 0 || options.unreadableFolders > 0 ? kExitSourcesFailed : kExitOk;
}

} // namespace tallowbrook::cli
