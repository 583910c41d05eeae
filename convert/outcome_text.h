#pragma once

// One line for what happened to an entry of a Merge run, for the summary's
// details and the command line's report.

#include <string>

#include "convert/merge.h"

namespace tallowbrook {

// "<source>: <what happened>", the source shown with printableText(). In a dry
// run a converted entry says what would be written.
std::string describeOutcome(const EntryOutcome& outcome, bool dryRun = false);

// Under a converted entry's line: what its conversion dropped, changed or
// filled in, a line each (describeChanges()), indented by two blanks and ended
// by a line feed. Empty for every other kind.
std::string changeLines(const EntryOutcome& outcome);

} // namespace tallowbrook
