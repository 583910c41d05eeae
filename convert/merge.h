#pragma once

// The Merge command: converts every file of the host's list to the chosen
// version, writing each output beside its source.

#include <optional>

#include "convert/dialog_host.h"
#include "convert/file_error.h"

namespace tallowbrook {

struct MergeOutcome {
    enum class Kind {
        EmptyList, // nothing was done or shown; "Merge" stays enabled
        Completed, // the summary was shown and "Merge" disabled
        OutputFailed, // an output file failed: the run ended at that entry
    };
    Kind kind = Kind::EmptyList;
    int written = 0;
    // Set for OutputFailed: the host reports it (stop icon, the application's
    // name as caption) and leaves "Merge" enabled.
    std::optional<FileError> outputError;
};

// Runs one Merge over the host's list. Source files that cannot be opened or
// read are reported through the host and passed over; files of no known length
// or already of the target version are passed over silently. Sources are never
// written; an output is complete or absent.
MergeOutcome runMerge(DialogHost& host);

// "Done! Merged %d configuration files.\n" with `written` in place of %d.
std::string summaryText(int written);

} // namespace tallowbrook
