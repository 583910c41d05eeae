#pragma once

// The FILE arguments of a command, with each folder standing for its
// configuration files.

#include <ostream>
#include <string>
#include <vector>

namespace tallowbrook::cli {

struct FileArguments {
    std::vector<std::string> files;
    int unreadableFolders = 0; // each reported on the error stream
};

// `arguments` in their order, each folder replaced in place by the files it
// holds whose names end in ".dat" in any letter case, in the file list's
// order. A folder that cannot be read is reported on `err` and stands for
// nothing.
FileArguments expandFileArguments(const std::vector<std::string>& arguments, std::ostream& err);

} // namespace tallowbrook::cli
