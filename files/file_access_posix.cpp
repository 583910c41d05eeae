// POSIX implementation of the Merge command's file access and of the folder
// listing the front ends use. Every system call
// goes through one small wrapper below, which retries a call that a signal
// interrupted and, in the fault tests' build only, asks the fault seam first.

#include "files/file_access.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "files/fault_injection.h"
#include "files/file_error.h"
#include "files/folder_access.h"

namespace tallowbrook {

namespace {

using fault::Primitive;

constexpr int kNoHandle = -1;

// A signal may interrupt a call again and again; after this many interruptions
// in a row the call is reported as failing instead of being retried for ever.
constexpr int kAttemptsWhenInterrupted = 100;

// Temporary names are unique to the process and a counter; finding this many
// of them taken in a row means something else is wrong.
constexpr int kTemporaryNameAttempts = 100;

// What a file system answers when it cannot sync a folder at all. The file
// itself is on disk by then, so these alone are passed over.
constexpr std::array kFolderSyncUnsupported{EINVAL, ENOTSUP, EOPNOTSUPP, EROFS};

FileCause causeOfErrno(int error) {
    switch (error) {
    case ENOENT:
        return FileCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return FileCause::BadPath;
    case EMFILE:
    case ENFILE:
        return FileCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return FileCause::AccessDenied;
    case EBADF:
        return FileCause::InvalidFile;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileCause::DiskFull;
    case EIO:
        return FileCause::HardIo;
    case EWOULDBLOCK:
        return FileCause::SharingViolation;
    default:
        return FileCause::Generic;
    }
}

FileError errorOf(int error, std::optional<std::string> path) {
    return {causeOfErrno(error), error, std::move(path)};
}

[[noreturn]] void fail(int error, std::optional<std::string> path) {
    throw errorOf(error, std::move(path));
}

[[noreturn]] void fail(FileCause cause, int error, std::optional<std::string> path) {
    throw FileError(cause, error, std::move(path));
}

// Whether the call may go ahead: false, with errno set, when the fault seam
// makes it fail. `count` is what a transfer may move; the seam can shorten it.
bool goesAhead([[maybe_unused]] Primitive primitive, [[maybe_unused]] std::size_t& count) {
#ifdef TALLOWBROOK_FAULT_INJECTION
    if (const std::optional<int> error = fault::applyFault(primitive, count)) {
        errno = *error;
        return false;
    }
#endif
    return true;
}

bool goesAhead(Primitive primitive) {
    std::size_t unused = 0;
    return goesAhead(primitive, unused);
}

// Runs `call` again while a signal interrupts it, up to the bound.
template <typename Call> auto retryingInterrupted(Call call) {
    auto result = call();
    for (int attempt = 1; result == -1 && errno == EINTR && attempt < kAttemptsWhenInterrupted; ++attempt) {
        result = call();
    }
    return result;
}

int openPath(const std::string& path, int flags, mode_t mode = 0) {
    return retryingInterrupted(
        [&] { return goesAhead(Primitive::Open) ? ::open(path.c_str(), flags, mode) : -1; });
}

int statPath(const std::string& path, struct stat& status) {
    return retryingInterrupted(
        [&] { return goesAhead(Primitive::Stat) ? ::stat(path.c_str(), &status) : -1; });
}

int statHandle(int fd, struct stat& status) {
    return retryingInterrupted([&] { return goesAhead(Primitive::Fstat) ? ::fstat(fd, &status) : -1; });
}

int accessPath(const std::string& path, int mode) {
    return retryingInterrupted(
        [&] { return goesAhead(Primitive::Access) ? ::access(path.c_str(), mode) : -1; });
}

int lockHandle(int fd, int operation) {
    return retryingInterrupted([&] { return goesAhead(Primitive::Flock) ? ::flock(fd, operation) : -1; });
}

ssize_t readHandle(int fd, std::byte* buffer, std::size_t size) {
    return retryingInterrupted([&]() -> ssize_t {
        std::size_t count = size;
        return goesAhead(Primitive::Read, count) ? ::read(fd, buffer, count) : -1;
    });
}

ssize_t writeHandle(int fd, const std::byte* bytes, std::size_t size) {
    return retryingInterrupted([&]() -> ssize_t {
        std::size_t count = size;
        return goesAhead(Primitive::Write, count) ? ::write(fd, bytes, count) : -1;
    });
}

int chmodHandle(int fd, mode_t mode) {
    return retryingInterrupted([&] { return goesAhead(Primitive::Fchmod) ? ::fchmod(fd, mode) : -1; });
}

int syncHandle(int fd) {
    return retryingInterrupted([&] { return goesAhead(Primitive::Fsync) ? ::fsync(fd) : -1; });
}

// Never retried: Linux releases the descriptor even when close reports EINTR,
// and a second close could close one that was handed out again meanwhile. A
// close that the fault seam fails still releases the descriptor, as the
// system's does.
int closeHandle(int fd) {
    const bool ahead = goesAhead(Primitive::Close);
    const int injected = errno;
    const int result = ::close(fd);
    if (!ahead) {
        errno = injected;
        return -1;
    }
    return result;
}

int renamePath(const std::string& from, const std::string& to) {
    return retryingInterrupted(
        [&] { return goesAhead(Primitive::Rename) ? ::rename(from.c_str(), to.c_str()) : -1; });
}

int unlinkPath(const std::string& path) {
    return retryingInterrupted([&] { return goesAhead(Primitive::Unlink) ? ::unlink(path.c_str()) : -1; });
}

// The next entry of a folder being read: null at its end, with errno 0, or on
// a failure, with errno set. An interrupted read leaves the stream where it
// was, so it is retried like the other calls.
const dirent* readEntry(DIR* stream) {
    for (int attempt = 1;; ++attempt) {
        errno = 0;
        // One thread reads one stream: the reentrancy readdir lacks is not
        // needed, and readdir_r is deprecated.
        const dirent* entry = nullptr;
        if (goesAhead(Primitive::Readdir)) {
            // NOLINTNEXTLINE(concurrency-mt-unsafe)
            entry = ::readdir(stream); // cppcheck-suppress readdirCalled
        }
        if (entry != nullptr || errno != EINTR || attempt >= kAttemptsWhenInterrupted) {
            return entry;
        }
    }
}

// A folder only read loses nothing when its close fails.
struct FolderCloser {
    void operator()(DIR* stream) const {
        static_cast<void>(goesAhead(Primitive::Close));
        ::closedir(stream);
    }
};
using FolderStream = std::unique_ptr<DIR, FolderCloser>;

// For descriptors whose close can lose nothing: a source, opened for reading
// only, and a temporary file that is being thrown away.
void closeQuietly(int fd) {
    if (fd != kNoHandle) {
        closeHandle(fd);
    }
}

// The system calls see a path only up to its first zero byte; a path with one
// inside could name another file, even the source itself.
void rejectEmbeddedZero(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        fail(FileCause::BadPath, EINVAL, path);
    }
}

std::string_view folderOf(std::string_view path) {
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? std::string_view("/") : path.substr(0, slash);
}

// A name for the temporary file beside the output, short enough that any
// folder that can hold the output can hold it too.
std::string temporaryPathBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    std::string temporary(folderOf(path));
    temporary += "/.tallowbrook-";
    temporary += std::to_string(::getpid());
    temporary += '-';
    temporary += std::to_string(counter++);
    temporary += ".tmp";
    return temporary;
}

bool folderSyncUnsupported(int error) {
    return std::find(kFolderSyncUnsupported.begin(), kFolderSyncUnsupported.end(), error) !=
           kFolderSyncUnsupported.end();
}

// Makes the rename durable. Returns 0, or the errno of a failure that leaves
// the rename possibly not on disk.
int syncFolderOf(const std::string& path) {
    const int fd = openPath(std::string(folderOf(path)), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == kNoHandle) {
        return folderSyncUnsupported(errno) ? 0 : errno;
    }
    const int error = syncHandle(fd) == 0 ? 0 : errno;
    closeQuietly(fd);
    return folderSyncUnsupported(error) ? 0 : error;
}

} // namespace

SourceFile::SourceFile(NativeHandle handle) : m_handle(handle) {}

SourceFile::SourceFile(SourceFile&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = kNoHandle;
}

SourceFile::~SourceFile() {
    closeQuietly(m_handle);
}

SourceFile SourceFile::open(const std::string& path) {
    rejectEmbeddedZero(path);
    // Non-blocking so that a named pipe cannot stall the run; it is refused below.
    const int fd = openPath(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd == kNoHandle) {
        fail(errno, path);
    }
    SourceFile source(fd); // closes it on every way out
    struct stat status {};
    if (statHandle(fd, status) != 0) {
        fail(errno, path);
    }
    if (!S_ISREG(status.st_mode)) {
        fail(FileCause::AccessDenied, S_ISDIR(status.st_mode) ? EISDIR : EINVAL, path);
    }
    // A conflicting lock (a writer's) is a sharing violation.
    if (lockHandle(fd, LOCK_SH | LOCK_NB) != 0) {
        fail(errno, path);
    }
    return source;
}

std::uint64_t SourceFile::length() const {
    struct stat status {};
    if (statHandle(m_handle, status) != 0) {
        fail(errno, std::nullopt);
    }
    return static_cast<std::uint64_t>(status.st_size);
}

// Reading moves the file's position, so it is not const even though the
// handle itself does not change.
// NOLINTNEXTLINE(readability-make-member-function-const)
std::size_t SourceFile::read(std::span<std::byte> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = readHandle(m_handle, buffer.data() + done, buffer.size() - done);
        if (got < 0) {
            fail(errno, std::nullopt);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

OutputFile::OutputFile(NativeHandle handle, std::string path, std::string temporaryPath)
    : m_handle(handle), m_path(std::move(path)), m_temporaryPath(std::move(temporaryPath)) {}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_handle(other.m_handle), m_path(std::move(other.m_path)),
      m_temporaryPath(std::move(other.m_temporaryPath)), m_committed(other.m_committed) {
    other.m_handle = kNoHandle;
    other.m_committed = true; // nothing left for the moved-from object to discard
}

OutputFile::~OutputFile() {
    if (!m_committed) {
        discard();
    }
}

bool OutputFile::discard() noexcept {
    closeQuietly(m_handle);
    m_handle = kNoHandle;
    if (m_temporaryPath.empty()) {
        return true;
    }
    const bool removed = unlinkPath(m_temporaryPath) == 0 || errno == ENOENT;
    m_temporaryPath.clear(); // one attempt: whoever must know has been told
    return removed;
}

OutputFile OutputFile::create(const std::string& path) {
    rejectEmbeddedZero(path);
    // An existing output keeps its permissions; a new one gets the usual ones.
    mode_t mode = 0666;
    struct stat existing {};
    const bool exists = statPath(path, existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            fail(FileCause::AccessDenied, EISDIR, path);
        }
        if ((existing.st_mode & 0222) == 0) {
            fail(FileCause::AccessDenied, EACCES, path);
        }
        if (accessPath(path, W_OK) != 0) {
            fail(errno, path);
        }
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        fail(errno, path);
    }

    std::string temporary;
    int fd = kNoHandle;
    int attempts = 0;
    do {
        temporary = temporaryPathBeside(path);
        fd = openPath(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd == kNoHandle && errno == EEXIST && ++attempts < kTemporaryNameAttempts);
    if (fd == kNoHandle) {
        fail(errno, path);
    }
    OutputFile output(fd, path, std::move(temporary));
    // The umask must not narrow what the replaced file had.
    if (exists && chmodHandle(fd, mode) != 0) {
        output.abandon(errorOf(errno, path));
    }
    if (lockHandle(fd, LOCK_EX | LOCK_NB) != 0) {
        output.abandon(errorOf(errno, path));
    }
    return output;
}

void OutputFile::write(std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = writeHandle(m_handle, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            // Whatever the system calls it, a write that stops short is a full disk
            // to the user when nothing better is known.
            const int error = errno;
            const FileCause cause = causeOfErrno(error);
            abandon(FileError(cause == FileCause::Generic ? FileCause::DiskFull : cause, error, m_path));
        }
        if (put == 0) {
            abandon(FileError(FileCause::DiskFull, ENOSPC, m_path));
        }
        done += static_cast<std::size_t>(put);
    }
}

void OutputFile::commit() {
    if (syncHandle(m_handle) != 0) {
        abandon(errorOf(errno, std::nullopt));
    }
    // EINTR from close: the descriptor is released and the bytes are on disk.
    if (closeHandle(std::exchange(m_handle, kNoHandle)) != 0 && errno != EINTR) {
        abandon(errorOf(errno, std::nullopt));
    }
    if (renamePath(m_temporaryPath, m_path) != 0) {
        abandon(errorOf(errno, m_path));
    }
    m_committed = true;
    if (const int error = syncFolderOf(m_path); error != 0) {
        fail(error, m_path);
    }
}

bool folderAt(const std::string& path) {
    rejectEmbeddedZero(path);
    struct stat status {};
    if (statPath(path, status) != 0) {
        fail(errno, path);
    }
    return S_ISDIR(status.st_mode);
}

std::vector<FolderEntry> folderEntries(const std::string& folder) {
    rejectEmbeddedZero(folder);
    const int fd = openPath(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd == kNoHandle) {
        fail(errno, folder);
    }
    const FolderStream stream(::fdopendir(fd));
    if (!stream) {
        const int error = errno;
        closeQuietly(fd);
        fail(error, folder);
    }
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/') {
        prefix += '/';
    }
    std::vector<FolderEntry> entries;
    while (const dirent* entry = readEntry(stream.get())) {
        const std::string_view name(static_cast<const char*>(entry->d_name));
        if (name == "." || name == "..") {
            continue;
        }
        bool isFolder = entry->d_type == DT_DIR;
        // A link, or a file system that does not say: what the name leads to
        // decides. One that cannot be looked at is listed as a file, whose
        // opening will report why.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat status {};
            isFolder = statPath(prefix + std::string(name), status) == 0 && S_ISDIR(status.st_mode);
        }
        entries.push_back({std::string(name), isFolder});
    }
    if (errno != 0) {
        fail(errno, folder);
    }
    return entries;
}

} // namespace tallowbrook
