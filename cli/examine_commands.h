#pragma once

// `identify` and `inspect`: what each FILE argument is, as text or JSON. They
// only read; nothing here writes a file.

#include <ostream>
#include <string>
#include <vector>

namespace tallowbrook::cli {

enum class Detail {
    Version, // identify: the version, known by the length
    Record,  // inspect: also the header members, entry count and text slots
};

struct ExamineOptions {
    std::vector<std::string> files;
    Detail detail = Detail::Version;
    bool json = false; // one JSON array with an object per file
    int unreadableFolders = 0;
};

// Returns kExitOk, or kExitSourcesFailed when a file or folder could not be
// read (each is reported, and the others are still examined).
int examineFiles(const ExamineOptions& options, std::ostream& out, std::ostream& err);

} // namespace tallowbrook::cli
