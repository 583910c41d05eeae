#pragma once

// The primitives the file access is written over: each platform defines them
// in its own file (platform_posix.cpp, platform_windows.cpp), and the file
// access (file_access.cpp) is their only user. A primitive that fails says why
// as a Failure, so that the code above never sees errno or GetLastError; none
// throws. Paths are UTF-8, already checked by the file access for what every
// platform refuses (see refuseHostilePath there).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "files/file_error.h"
#include "files/folder_access.h"
#include "files/owned_handle.h"

namespace tallowbrook::platform {

// A failed call: the cause the user is told and the system's own error number.
struct Failure {
    FileCause cause = FileCause::Generic;
    int osError = 0;
};

// A call's value, or why it failed. A primitive returns either as it is.
template <typename Value> class Result {
public:
    // cppcheck-suppress noExplicitConstructor
    Result(Value value) : m_outcome(std::move(value)) {}
    // cppcheck-suppress noExplicitConstructor
    Result(Failure failure) : m_outcome(failure) {}

    bool failed() const { return std::holds_alternative<Failure>(m_outcome); }
    const Failure& failure() const { return std::get<Failure>(m_outcome); }
    Value& value() { return std::get<Value>(m_outcome); }
    const Value& value() const { return std::get<Value>(m_outcome); }

private:
    std::variant<Value, Failure> m_outcome;
};

// A call that gives back nothing: none when it succeeded.
using Status = std::optional<Failure>;

// The error number of a path the platform cannot take (EINVAL, ERROR_INVALID_NAME),
// and of a write that moved nothing: a full disk (ENOSPC, ERROR_DISK_FULL).
extern const int kInvalidPath;
extern const int kDiskFull;

// Opens an existing regular file for reading, letting others read it but not
// write it.
Result<FileHandle> openSource(const std::string& path);
// The open file's length in bytes.
Result<std::uint64_t> sizeOf(const FileHandle& file);
// Reads at most `buffer.size()` bytes; 0 at the end of the file.
Result<std::size_t> readSome(const FileHandle& file, std::span<std::byte> buffer);
// Writes at most `bytes.size()` bytes; how many it wrote.
Result<std::size_t> writeSome(const FileHandle& file, std::span<const std::byte> bytes);

// What an output's replacement keeps of the file that stands at its path.
struct Existing {
    bool replaced = false; // a file is there
    unsigned kept = 0;     // POSIX: its permission bits; Windows: the attributes passed on
};

// Looks at what stands at an output's path: refused (access denied) when it is
// a folder or cannot be written, since a rename would replace it silently.
Result<Existing> lookAtOutput(const std::string& path);
// The folder of `path` as it is spelled, ready for a file name to follow.
std::string folderPartOf(const std::string& path);
// This process's number, which keeps its temporary names apart from another's.
unsigned long processNumber();
// Creates a new file for writing, which nobody else may open meanwhile,
// failing when the name is taken (see nameTaken).
Result<FileHandle> createExclusively(const std::string& path, const Existing& existing);
// Whether a failed createExclusively() found its name already taken.
bool nameTaken(const Failure& failure);
// Readies a new file to replace `existing`: what it must keep, and the lock.
Status prepare(const FileHandle& file, const Existing& existing);

// Sends the file's bytes to the disk.
Status flush(const FileHandle& file);
// Closes the file, reporting a failure that may have lost its bytes.
Status close(FileHandle file);
// Puts `from` in the place of `to` in one step that leaves either of them.
Status replace(const std::string& from, const std::string& to);
// Makes a replace() at `path` durable.
Status makeDurable(const std::string& path);
// Removes a file; true when it is gone or was never there.
bool remove(const std::string& path);

// Whether `path` names a folder.
Result<bool> isFolder(const std::string& path);
// Adds the entries of `folder`, "." and ".." left out, to `entries`.
Status listFolder(const std::string& folder, std::vector<FolderEntry>& entries);
#ifdef _WIN32
// The same for the entries whose names match `pattern` as the platform matches them.
Status listMatching(const std::string& folder, const std::string& pattern, std::vector<FolderEntry>& entries);
#endif

} // namespace tallowbrook::platform
