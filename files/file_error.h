#pragma once

// The error every file operation raises when it fails: a cause code 0-14, the
// operating system's error number and, where the operation knows it, the path.
// Its what() is the text a user is shown: the cause's description with "%1"
// replaced by the path, or by "an unnamed file" when the failing operation did
// not know it; followed, when a temporary file was left behind, by a sentence
// that names it.

#include <optional>
#include <stdexcept>
#include <string>

namespace tallowbrook {

enum class FileCause : int {
    None = 0,
    Generic = 1,
    FileNotFound = 2,
    BadPath = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,
    RemoveCurrentDir = 7,
    DirectoryFull = 8,
    BadSeek = 9,
    HardIo = 10,
    SharingViolation = 11,
    LockViolation = 12,
    DiskFull = 13,
    EndOfFile = 14,
};

class FileError : public std::runtime_error {
public:
    // `leftBehind` names a temporary file that the failure left on disk because
    // it could not be removed.
    FileError(FileCause cause, int osError, std::optional<std::string> path,
              std::optional<std::string> leftBehind = std::nullopt);

    FileCause cause() const { return m_cause; }
    int osError() const { return m_osError; }
    const std::optional<std::string>& path() const { return m_path; }
    const std::optional<std::string>& leftBehind() const { return m_leftBehind; }

private:
    FileCause m_cause;
    int m_osError;
    std::optional<std::string> m_path;
    std::optional<std::string> m_leftBehind;
};

} // namespace tallowbrook
