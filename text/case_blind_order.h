#pragma once

// The order of the file list where no platform supplies its own: the dialog
// model's default and the command line's order of a folder's files.

#include <string>
#include <string_view>
#include <vector>

namespace tallowbrook {

// Letter case (ASCII) does not count: "d:\a" before "E:\b\x.dat".
bool sortsBeforeIgnoringCase(std::string_view left, std::string_view right);

// Sorts `paths` by sortsBeforeIgnoringCase(); paths that differ in letter
// case only keep their byte order, so the result never depends on the input's.
void sortInListOrder(std::vector<std::string>& paths);

} // namespace tallowbrook
