#pragma once

// File access for the Merge command. Every operation throws FileError when it
// fails. What it does is written once (file_access.cpp); the calls it makes
// are each platform's primitives (platform.h).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "files/owned_handle.h"

namespace tallowbrook {

class FileError;

// An existing file opened for reading. While it is open other programs may
// read it but not write it (on POSIX: a shared advisory lock; a conflicting
// lock is a sharing violation). Only regular files are accepted.
class SourceFile {
public:
    // Throws FileError carrying `path`.
    static SourceFile open(const std::string& path);

    // The file's length in bytes. Throws FileError without a path.
    std::uint64_t length() const;

    // Reads until `buffer` is full or the file ends; returns the bytes read.
    // An empty buffer reads nothing. Throws FileError without a path.
    std::size_t read(std::span<std::byte> buffer);

private:
    explicit SourceFile(FileHandle handle);
    FileHandle m_handle;
};

// Fills `buffer` from `file`. A file that ends sooner (it shrank after its length
// was taken) is an error with cause 14, so half a record is never used.
void readExactly(SourceFile& file, std::span<std::byte> buffer);

// An output file that is either complete or absent. Bytes go to a temporary
// file in the output's folder; commit() flushes it to disk and renames it over
// the output path. A failing write or commit removes the temporary file before
// it throws, and its error names the file when that removal failed too.
// Destroyed without a successful commit, the temporary file is removed and a
// file that existed at the output path stays as it was.
class OutputFile {
public:
    // Refuses an existing output that is a folder or has no write permission
    // (cause 5), also for a superuser, since a rename would replace it silently.
    // Throws FileError carrying `path`.
    static OutputFile create(const std::string& path);

    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&&) = delete;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Writes all of `bytes`; writing fewer is a "disk full" error (cause 13).
    // Throws FileError carrying the output path.
    void write(std::span<const std::byte> bytes);

    // Flushes to disk and closes (errors carry no path, as the driver's flush and
    // close never did), then puts the file in place at the output path and makes
    // that durable. Once the file is in place, a failure to flush its folder
    // still throws (carrying the output path): the run must not claim success.
    void commit();

private:
    OutputFile(FileHandle handle, std::string path, std::string temporaryPath);
    // Closes and removes the temporary file, once; false when it stays on disk.
    bool discard() noexcept;
    // Discards, then throws `error`, naming the temporary file if it stayed.
    [[noreturn]] void abandon(const FileError& error);

    FileHandle m_handle;
    std::string m_path;
    std::string m_temporaryPath;
    bool m_committed = false;
};

} // namespace tallowbrook
