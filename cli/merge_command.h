#pragma once

// `merge`: one Merge run over the FILE arguments, reported line by line.

#include <ostream>
#include <string>
#include <vector>

#include "records/version_table.h"

namespace tallowbrook::cli {

struct MergeOptions {
    std::vector<std::string> files;
    Version target = Version::V802;
    bool verbose = false; // a line for every entry's outcome, and what each conversion changes
    bool dryRun = false;  // say what a run would write, write nothing
    bool json = false;    // one JSON array on standard output, an object per entry
    int unreadableFolders = 0;
};

// Returns the exit code: kExitOk, kExitOutputFailed or kExitSourcesFailed.
int mergeFiles(const MergeOptions& options, std::ostream& out, std::ostream& err);

} // namespace tallowbrook::cli
