#pragma once

// The command-line front end, callable in-process so tests can drive it with
// string streams.

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "records/version_table.h"

namespace tallowbrook::cli {

inline constexpr std::string_view kProgramName = "tallowbrook-cli";

inline constexpr int kExitOk = 0;            // everything was done
inline constexpr int kExitOutputFailed = 1;  // an output failed and ended the run, or standard output did
inline constexpr int kExitUsage = 2;         // the command line is wrong
inline constexpr int kExitSourcesFailed = 3; // done, but some files could not be opened or read

// Runs the command line `args` (without the program name).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The version that a VERSION argument names ("6.04", "7.00-7.04", "8.02", ...).
std::optional<Version> versionOfName(std::string_view name);

} // namespace tallowbrook::cli
