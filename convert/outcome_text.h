#pragma once

// One line for what happened to an entry of a Merge run, for the summary's
// details and the command line's report.

#include <string>

#include "convert/merge.h"

namespace tallowbrook {

// "<source>: <what happened>", the source shown with printableText(). In a dry
// run a converted entry says what would be written.
std::string describeOutcome(const EntryOutcome& outcome, bool dryRun = false);

} // namespace tallowbrook
