#pragma once

// Plays the front end for driver tests and the driver fuzzer: runs a Merge over
// a fixed list and records everything the run reported, in order.

#include <optional>
#include <string>
#include <vector>

#include "convert/merge.h"

namespace tallowbrook::test {

// One reported entry, with the texts copied out of the report.
struct RecordedOutcome {
    EntryOutcome::Kind kind;
    std::size_t index;
    std::string source;
    std::optional<std::uint64_t> length;
    std::optional<Version> sourceVersion;
    std::string output;
    std::optional<FileCause> cause;
    std::optional<FileError> error;
};

class RecordingEvents : public MergeEvents {
public:
    void entryDone(const EntryOutcome& outcome, std::size_t total) override {
        outcomes.push_back({outcome.kind, outcome.index, std::string(outcome.source), outcome.length,
                            outcome.sourceVersion, outcome.output,
                            outcome.error ? std::optional<FileCause>(outcome.error->cause()) : std::nullopt,
                            outcome.error});
        totals.push_back(total);
        if (const std::string message = sourceFailureMessage(outcome); !message.empty()) {
            messages.push_back(message);
        }
    }
    void runCompleted(const std::string& summary) override {
        messages.push_back(summary);
        ++summaries;
    }

    std::vector<RecordedOutcome> outcomes;
    std::vector<std::size_t> totals;
    std::vector<std::string> messages; // what a dialog would show: source failures, then the summary
    int summaries = 0;
};

// Runs a Merge over `entries` with the chooser at `chooser`, mapped to a
// version as the dialog maps it.
inline MergeOutcome runMerge(const std::vector<std::string>& entries, std::optional<std::size_t> chooser,
                             RecordingEvents& events, bool dryRun = false) {
    const std::optional<Version> target = chooser ? versionAt(*chooser) : std::nullopt;
    return tallowbrook::runMerge(MergeRequest{entries, target, dryRun}, events);
}

} // namespace tallowbrook::test
