#pragma once

// The FILE arguments of a command, with each folder standing for its
// configuration files and, on Windows, each wildcard for the files it matches.

#include <ostream>
#include <string>
#include <vector>

namespace tallowbrook::cli {

struct FileArguments {
    std::vector<std::string> files;
    int unreadableFolders = 0; // folders and wildcards that stand for nothing, each reported on the error stream
};

// `arguments` as expandArguments() expands them. A folder that cannot be read
// and a wildcard that matches no file are reported on `err` and stand for
// nothing.
FileArguments expandFileArguments(const std::vector<std::string>& arguments, std::ostream& err);

} // namespace tallowbrook::cli
