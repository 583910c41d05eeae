#include "convert/outcome_text.h"

#include "convert/change_text.h"
#include "text/printable_text.h"

namespace tallowbrook {

namespace {

std::string versionLabel(const std::optional<Version>& version) {
    return version ? std::string(info(*version).label) : std::string("no version");
}

std::string what(const EntryOutcome& outcome, bool dryRun) {
    using Kind = EntryOutcome::Kind;
    const std::string cause = outcome.error ? printableText(outcome.error->what()) : std::string();
    switch (outcome.kind) {
    case Kind::Converted:
        return versionLabel(outcome.sourceVersion) + (dryRun ? ", would be written as " : ", written as ") +
               printableText(outcome.output);
    case Kind::SameVersion:
        return "passed over: already " + versionLabel(outcome.sourceVersion);
    case Kind::UnknownLength:
        return "passed over: " + std::to_string(outcome.length.value_or(0)) +
               " bytes is the length of no version";
    case Kind::NoTarget:
        return "passed over: no target version is chosen";
    case Kind::OpenFailed:
        return "could not be opened: " + cause;
    case Kind::ReadFailed:
        return "could not be read: " + cause;
    case Kind::OutputFailed:
        return "its output failed, which ended the run: " + cause;
    }
    return {};
}

} // namespace

std::string describeOutcome(const EntryOutcome& outcome, bool dryRun) {
    return printableText(outcome.source) + ": " + what(outcome, dryRun);
}

std::string changeLines(const EntryOutcome& outcome) {
    if (outcome.kind != EntryOutcome::Kind::Converted) {
        return {};
    }
    std::string lines;
    for (const std::string& line : describeChanges(outcome.sourceRecord, outcome.targetRecord)) {
        lines += "  " + line + '\n';
    }
    return lines;
}

} // namespace tallowbrook
