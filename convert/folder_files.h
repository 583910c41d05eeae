#pragma once

// The configuration files of a folder, for a front end that is handed a folder
// where it expects files (a folder dropped on the dialog, or named on the
// command line).

#include <string>
#include <vector>

namespace tallowbrook {

// Whether `path` (UTF-8) names an existing folder.
bool isFolder(const std::string& path);

// The full paths (UTF-8, joined with the platform's separator) of what the
// folder holds directly whose names end in ".dat" in any letter case, folders
// excepted, sorted byte by byte; a front end puts them in its list's order.
// Throws FileError naming the folder when it cannot be read.
std::vector<std::string> dataFilesIn(const std::string& folder);

} // namespace tallowbrook
