#pragma once

// Looking at a path and listing a folder, written with the file access over
// the same platform primitives: each failure throws FileError naming the path,
// and an interrupted call is retried. On Windows they take the wide, long-path
// form of the name ("\\?\D:\..."), so a folder of any length can be looked at
// and listed.

#include <string>
#include <vector>

namespace tallowbrook {

// Whether `path` (UTF-8) names a folder. Throws FileError naming `path` when
// the platform cannot tell, including when nothing is there.
bool folderAt(const std::string& path);

struct FolderEntry {
    std::string name; // UTF-8
    bool folder = false;
};

// The entries of `folder`, "." and ".." left out, in the platform's order.
// Throws FileError naming `folder` when it cannot be opened or read.
std::vector<FolderEntry> folderEntries(const std::string& folder);

#ifdef _WIN32
// The entries of `folder` whose names match `pattern` ("*.dat", "X?.dat") as
// the platform matches them: letter case does not count. None when nothing
// matches. Throws FileError naming `folder` when it cannot be listed.
std::vector<FolderEntry> matchingEntries(const std::string& folder, const std::string& pattern);
#endif

} // namespace tallowbrook
