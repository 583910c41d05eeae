#pragma once

// JSON output for scripts that read the command line's findings.

#include <string>
#include <string_view>

namespace tallowbrook::cli {

// `text` as a JSON string literal, quotes included: quote, backslash and
// control characters escaped, well-formed UTF-8 kept, and each byte that
// belongs to no well-formed UTF-8 sequence written as U+FFFD, so the output
// is always valid JSON whatever a file name or a file holds.
std::string jsonString(std::string_view text);

} // namespace tallowbrook::cli
