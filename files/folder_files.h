#pragma once

// The configuration files of a folder, for a front end that is handed a folder
// where it expects files (a folder dropped on the dialog, or named on the
// command line), and the FILE arguments of a command line with each folder,
// and on Windows each wildcard, standing for the files it names.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_error.h"

namespace tallowbrook {

// The first line of the report of a folder that could not be looked at or
// listed; the cause, naming the folder, follows.
inline constexpr std::string_view kFolderUnreadable = "Folder could not be read \n";

// Whether `path` (UTF-8) names an existing folder; false also when that cannot
// be told.
bool isFolder(const std::string& path);

// The full paths (UTF-8, joined with the platform's separator) of what the
// folder holds directly whose names end in ".dat" in any letter case, folders
// excepted, sorted byte by byte; a front end puts them in its list's order.
// Throws FileError naming the folder when it cannot be read.
std::vector<std::string> dataFilesIn(const std::string& folder);

// An argument that stands for no file although it should have.
struct ArgumentProblem {
    std::string argument;
    // Why the folder could not be looked at or listed, naming it; none for a
    // wildcard that matches no file.
    std::optional<FileError> error;
};

struct ExpandedArguments {
    std::vector<std::string> files;
    std::vector<ArgumentProblem> problems; // in the arguments' order
};

// `arguments` in their order, each folder replaced in place by its dataFilesIn()
// in the file list's order. On Windows, whose shells hand wildcards over
// unexpanded, an argument with "*" or "?" in its last component is replaced by
// the files in that folder whose names match it as the platform matches them,
// in the same order; a wildcard in a folder component matches nothing. A path
// that cannot be told a file or a folder (its look fails for another reason
// than its absence) is a folder that could not be read, unless its name ends in
// ".dat": that is taken for a file, whose opening reports what is wrong.
ExpandedArguments expandArguments(const std::vector<std::string>& arguments);

} // namespace tallowbrook
