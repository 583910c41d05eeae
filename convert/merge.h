#pragma once

// The Merge command: converts every file of a list to the chosen version,
// writing each output beside its source. The front end hands over what the run
// reads once (the list and the chosen version) and hears back what happened to
// each entry; it never plays a chooser or a button for the driver.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "files/file_error.h"
#include "records/version_table.h"

namespace tallowbrook {

// What a run reads, once, at its start.
struct MergeRequest {
    // The file list in the order it shows its entries: full paths, UTF-8.
    std::span<const std::string> entries{};
    // The version to convert to; none converts nothing (each entry is still
    // read), as when the dialog's chooser names no version.
    std::optional<Version> target;
    // Open, measure and read every source and name its output, but create
    // nothing: what a run would write.
    bool dryRun = false;
};

// What happened to one entry of the list.
struct EntryOutcome {
    enum class Kind {
        Converted,     // the output was written (in a dry run: would be)
        SameVersion,   // already of the target version: passed over
        UnknownLength, // its length is no version's: passed over
        NoTarget,      // the chooser names no version: passed over
        OpenFailed,    // the source could not be opened or measured
        ReadFailed,    // the source could not be read
        OutputFailed,  // the output failed, which ended the run
    };

    Kind kind = Kind::Converted;
    std::size_t index = 0;   // position in the list
    std::string_view source; // the entry's text; valid during the report only
    // The source's length, once it was taken (every kind but OpenFailed).
    std::optional<std::uint64_t> length;
    std::optional<Version> sourceVersion; // known by the length
    std::string output;                   // Converted and OutputFailed: the output path
    // OpenFailed and ReadFailed (carrying the source path), OutputFailed.
    std::optional<FileError> error;
    // Converted: the source record and the target record converted from it
    // (in a dry run too, though nothing is written), for compareRecords() to
    // tell what the conversion dropped, changed or filled in. Valid during the
    // report only.
    std::span<const std::byte> sourceRecord{};
    std::span<const std::byte> targetRecord{};
};

// The text of the message box that reports a source failure:
// "File could not be opened \n" or "File could not be read \n" followed by the
// cause's description, naming the source. Empty for every other kind.
std::string sourceFailureMessage(const EntryOutcome& outcome);

// What a run reports to the front end that started it, as it goes.
class MergeEvents {
public:
    virtual ~MergeEvents() = default;
    // After each entry, in list order, whatever its outcome; `total` is the
    // list's size. A dialog shows sourceFailureMessage() here for source
    // failures, modally, before the run goes on.
    virtual void entryDone(const EntryOutcome& outcome, std::size_t total) = 0;
    // After the last entry of a run over a non-empty list that no output
    // failure ended: "Done! Merged %d configuration files.\n". A dialog shows it,
    // then disables "Merge".
    virtual void runCompleted(const std::string& summary) = 0;
};

struct MergeOutcome {
    enum class Kind {
        EmptyList,    // nothing was done or shown; "Merge" stays enabled
        Completed,    // the summary was reported
        OutputFailed, // an output file failed: the run ended at that entry
    };
    Kind kind = Kind::EmptyList;
    int written = 0;        // outputs written (in a dry run: that would be)
    int sourceFailures = 0; // entries whose source could not be opened or read
    // Set for OutputFailed: the front end reports it (stop icon, the
    // application's name as caption) and leaves "Merge" enabled.
    std::optional<FileError> outputError;
};

// Runs one Merge. Sources that cannot be opened or read are reported and passed
// over; files of no known length or already of the target version are passed
// over. Sources are never written; an output is complete or absent.
MergeOutcome runMerge(const MergeRequest& request, MergeEvents& events);

// "Done! Merged %d configuration files.\n" with `written` in place of %d.
std::string summaryText(int written);

} // namespace tallowbrook
