#include "files/folder_files.h"

#include <algorithm>

#include "files/folder_access.h"
#include "files/path_syntax.h"
#include "text/case_blind_order.h"

namespace tallowbrook {

namespace {

bool hasDataExtension(std::string_view name) {
    constexpr std::string_view kExtension = ".dat";
    if (name.size() < kExtension.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - kExtension.size());
    return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

// A failed look at a path that only says nothing is there (or could be).
bool tellsAbsence(const FileError& error) {
    return error.cause() == FileCause::FileNotFound || error.cause() == FileCause::BadPath;
}

void appendInListOrder(std::vector<std::string> files, std::vector<std::string>& to) {
    std::sort(files.begin(), files.end());
    sortInListOrder(files);
    to.insert(to.end(), files.begin(), files.end());
}

#ifdef _WIN32
bool hasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// "\\?\" and "\\.\" (either slash) hold a '?' or '.' that is no wildcard.
std::string_view withoutDevicePrefix(std::string_view path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 4 && separator(path[0]) && separator(path[1]) && (path[2] == '?' || path[2] == '.') &&
        separator(path[3])) {
        return path.substr(4);
    }
    return path;
}

// Expands `argument` when it is a wildcard; false when it is none.
bool expandWildcard(const std::string& argument, ExpandedArguments& expanded) {
    const std::size_t nameStart = fileNameStart(argument, PathStyle::Windows);
    const std::string folder = argument.substr(0, nameStart);
    const std::string pattern = argument.substr(nameStart);
    const bool wildcardInFolder = hasWildcard(withoutDevicePrefix(folder));
    if (!wildcardInFolder && !hasWildcard(pattern)) {
        return false;
    }
    std::vector<std::string> files;
    if (!wildcardInFolder) {
        try {
            for (const FolderEntry& entry :
                 matchingEntries(folder.empty() ? std::string(".") : folder, pattern)) {
                if (!entry.folder) {
                    files.push_back(folder + entry.name);
                }
            }
        } catch (const FileError& error) {
            if (!tellsAbsence(error)) {
                expanded.problems.push_back({argument, error});
                return true;
            }
        }
    }
    if (files.empty()) {
        expanded.problems.push_back({argument, std::nullopt});
    }
    appendInListOrder(std::move(files), expanded.files);
    return true;
}
#endif

} // namespace

bool isFolder(const std::string& path) {
    try {
        return folderAt(path);
    } catch (const FileError&) {
        return false;
    }
}

std::vector<std::string> dataFilesIn(const std::string& folder) {
    std::string prefix = folder;
    // "D:" names the drive's current folder and takes no separator; only a
    // drive's ':' ends a folder part.
    if (prefix.empty() || fileNameStart(prefix) != prefix.size()) {
        prefix += kFolderSeparator;
    }
    std::vector<std::string> files;
    for (const FolderEntry& entry : folderEntries(folder)) {
        if (!entry.folder && hasDataExtension(entry.name)) {
            files.push_back(prefix + entry.name);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

ExpandedArguments expandArguments(const std::vector<std::string>& arguments) {
    ExpandedArguments expanded;
    for (const std::string& argument : arguments) {
#ifdef _WIN32
        if (expandWildcard(argument, expanded)) {
            continue;
        }
#endif
        bool folder = false;
        try {
            folder = folderAt(argument);
        } catch (const FileError& error) {
            if (!tellsAbsence(error) && !hasDataExtension(argument)) {
                expanded.problems.push_back({argument, error});
                continue;
            }
        }
        if (!folder) {
            expanded.files.push_back(argument); // the run reports a file that is not there
            continue;
        }
        try {
            appendInListOrder(dataFilesIn(argument), expanded.files);
        } catch (const FileError& error) {
            expanded.problems.push_back({argument, error});
        }
    }
    return expanded;
}

} // namespace tallowbrook
