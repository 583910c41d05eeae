// The file access and the folder listing, written once over each platform's
// primitives (platform.h): the paths refused everywhere, the read and write
// loops, the temporary file and the order in which an output is put in place.

#include "files/file_access.h"

#include <atomic>
#include <optional>
#include <utility>
#include <vector>

#include "files/file_error.h"
#include "files/folder_access.h"
#include "files/path_syntax.h"
#include "files/platform.h"

namespace tallowbrook {

namespace {

using platform::Failure;

// Temporary names are unique to the process and a counter; finding this many
// of them taken in a row means something else is wrong.
constexpr int kTemporaryNameAttempts = 100;

FileError errorOf(const Failure& failure, std::optional<std::string> path) {
    return {failure.cause, failure.osError, std::move(path)};
}

template <typename Value> Value valueOf(platform::Result<Value> result, const std::optional<std::string>& path) {
    if (result.failed()) {
        throw errorOf(result.failure(), path);
    }
    return std::move(result.value());
}

void check(const platform::Status& status, const std::optional<std::string>& path) {
    if (status) {
        throw errorOf(*status, path);
    }
}

// The system calls see a path only up to its first zero byte: a path with one
// inside could name another file, even the source itself. On Windows a ':'
// that names a data stream would reach into another file just as well.
void refuseHostilePath(const std::string& path) {
    if (path.find('\0') != std::string::npos || namesDataStream(path)) {
        throw FileError(FileCause::BadPath, platform::kInvalidPath, path);
    }
}

// A name for the temporary file beside the output, short enough that any
// folder that can hold the output can hold it too.
std::string temporaryPathBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    std::string temporary = platform::folderPartOf(path);
    temporary += ".tallowbrook-";
    temporary += std::to_string(platform::processNumber());
    temporary += '-';
    temporary += std::to_string(counter++);
    temporary += ".tmp";
    return temporary;
}

} // namespace

SourceFile::SourceFile(FileHandle handle) : m_handle(std::move(handle)) {}

SourceFile SourceFile::open(const std::string& path) {
    refuseHostilePath(path);
    return SourceFile(valueOf(platform::openSource(path), path));
}

std::uint64_t SourceFile::length() const {
    return valueOf(platform::sizeOf(m_handle), std::nullopt);
}

// Reading moves the file's position, so it is not const even though the
// handle itself does not change.
// NOLINTNEXTLINE(readability-make-member-function-const)
std::size_t SourceFile::read(std::span<std::byte> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const std::size_t got = valueOf(platform::readSome(m_handle, buffer.subspan(done)), std::nullopt);
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

void readExactly(SourceFile& file, std::span<std::byte> buffer) {
    if (file.read(buffer) != buffer.size()) {
        throw FileError(FileCause::EndOfFile, 0, std::nullopt);
    }
}

OutputFile::OutputFile(FileHandle handle, std::string path, std::string temporaryPath)
    : m_handle(std::move(handle)), m_path(std::move(path)), m_temporaryPath(std::move(temporaryPath)) {}

// The moved-from output has nothing left to discard.
OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_handle(std::move(other.m_handle)), m_path(std::move(other.m_path)),
      m_temporaryPath(std::exchange(other.m_temporaryPath, {})),
      m_committed(std::exchange(other.m_committed, true)) {}

OutputFile::~OutputFile() {
    if (!m_committed) {
        discard();
    }
}

OutputFile OutputFile::create(const std::string& path) {
    refuseHostilePath(path);
    const platform::Existing existing = valueOf(platform::lookAtOutput(path), path);
    std::string temporary;
    std::optional<platform::Result<FileHandle>> created;
    int attempts = 0;
    do {
        temporary = temporaryPathBeside(path);
        created.emplace(platform::createExclusively(temporary, existing));
    } while (created->failed() && platform::nameTaken(created->failure()) && ++attempts < kTemporaryNameAttempts);
    OutputFile output(valueOf(*std::move(created), path), path, std::move(temporary));
    if (const platform::Status failed = platform::prepare(output.m_handle, existing)) {
        output.abandon(errorOf(*failed, path));
    }
    return output;
}

void OutputFile::write(std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        platform::Result<std::size_t> put = platform::writeSome(m_handle, bytes.subspan(done));
        if (put.failed()) {
            // Whatever the system calls it, a write that stops short is a full disk
            // to the user when nothing better is known.
            Failure failure = put.failure();
            if (failure.cause == FileCause::Generic) {
                failure.cause = FileCause::DiskFull;
            }
            abandon(errorOf(failure, m_path));
        }
        if (put.value() == 0) {
            abandon(FileError(FileCause::DiskFull, platform::kDiskFull, m_path));
        }
        done += put.value();
    }
}

// Flushed and closed first, so that the output's path never shows a file whose
// bytes are not all on the disk; put in place in one step; then made durable.
void OutputFile::commit() {
    if (const platform::Status failed = platform::flush(m_handle)) {
        abandon(errorOf(*failed, std::nullopt));
    }
    if (const platform::Status failed = platform::close(std::move(m_handle))) {
        abandon(errorOf(*failed, std::nullopt));
    }
    if (const platform::Status failed = platform::replace(m_temporaryPath, m_path)) {
        abandon(errorOf(*failed, m_path));
    }
    m_committed = true;
    check(platform::makeDurable(m_path), m_path);
}

bool OutputFile::discard() noexcept {
    m_handle.reset();
    if (m_temporaryPath.empty()) {
        return true;
    }
    const bool removed = platform::remove(m_temporaryPath);
    m_temporaryPath.clear(); // one attempt: whoever must know has been told
    return removed;
}

// The failure that ends an output, naming its temporary file when that could
// not be removed.
void OutputFile::abandon(const FileError& error) {
    std::optional<std::string> temporary = m_temporaryPath;
    if (discard()) {
        temporary.reset();
    }
    throw FileError(error.cause(), error.osError(), error.path(), std::move(temporary));
}

bool folderAt(const std::string& path) {
    refuseHostilePath(path);
    return valueOf(platform::isFolder(path), path);
}

std::vector<FolderEntry> folderEntries(const std::string& folder) {
    refuseHostilePath(folder);
    std::vector<FolderEntry> entries;
    check(platform::listFolder(folder, entries), folder);
    return entries;
}

#ifdef _WIN32
std::vector<FolderEntry> matchingEntries(const std::string& folder, const std::string& pattern) {
    refuseHostilePath(folder);
    std::vector<FolderEntry> entries;
    check(platform::listMatching(folder, pattern, entries), folder);
    return entries;
}
#endif

} // namespace tallowbrook
