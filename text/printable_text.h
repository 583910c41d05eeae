#pragma once

// Texts that come from outside (file names, text read from a file) shown on
// one line without letting them steer a terminal or break a line: control
// characters and bytes that are not UTF-8 are written as escapes.

#include <string>
#include <string_view>

namespace tallowbrook {

// `text` with every C0 control character, DEL and C1 control written as
// "\n", "\t", "\r" or "\xNN" (C1: "\u0085"), a backslash kept as it is, and
// every byte that does not belong to a well-formed UTF-8 sequence as "\xNN".
// Well-formed UTF-8 otherwise stands as it is.
std::string printableText(std::string_view text);

} // namespace tallowbrook
