// POSIX implementation of the Merge command's file access.

#include "convert/file_access.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "convert/file_error.h"

namespace tallowbrook {

namespace {

constexpr int kNoHandle = -1;

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

[[noreturn]] void fail(int error, std::optional<std::string> path) {
    throw FileError(causeOfErrno(error), error, std::move(path));
}

[[noreturn]] void fail(FileCause cause, int error, std::optional<std::string> path) {
    throw FileError(cause, error, std::move(path));
}

// The system calls see a path only up to its first zero byte; a path with one
// inside could name another file, even the source itself.
void rejectEmbeddedZero(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        fail(FileCause::BadPath, EINVAL, path);
    }
}

void closeQuietly(int fd) {
    if (fd != kNoHandle) {
        ::close(fd);
    }
}

// Takes a non-blocking advisory lock; a conflict is a sharing violation. The
// caller owns `fd` and closes it on failure.
void lockOrFail(int fd, int operation, const std::string& path) {
    while (::flock(fd, operation | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error == EWOULDBLOCK) {
            fail(FileCause::SharingViolation, error, path);
        }
        fail(error, path);
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

// Makes the rename durable. Some file systems refuse to sync a folder; the
// file itself is already on disk by then, so a refusal is not an error.
void syncFolderOf(const std::string& path) {
    const int fd = ::open(std::string(folderOf(path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd != kNoHandle) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

SourceFile::SourceFile(NativeHandle handle) : m_handle(handle) {}

SourceFile::SourceFile(SourceFile&& other) noexcept : m_handle(other.m_handle) { other.m_handle = kNoHandle; }

SourceFile::~SourceFile() { closeQuietly(m_handle); }

SourceFile SourceFile::open(const std::string& path) {
    // Non-blocking so that a named pipe cannot stall the run; it is refused below.
    rejectEmbeddedZero(path);
    int fd = kNoHandle;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    } while (fd == kNoHandle && errno == EINTR);
    if (fd == kNoHandle) {
        fail(errno, path);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        closeQuietly(fd);
        fail(error, path);
    }
    if (!S_ISREG(status.st_mode)) {
        closeQuietly(fd);
        fail(FileCause::AccessDenied, S_ISDIR(status.st_mode) ? EISDIR : EINVAL, path);
    }
    SourceFile source(fd);
    lockOrFail(fd, LOCK_SH, path);
    return source;
}

std::uint64_t SourceFile::length() const {
    struct stat status {};
    if (::fstat(m_handle, &status) != 0) {
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
        const ssize_t got = ::read(m_handle, buffer.data() + done, buffer.size() - done);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
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

void OutputFile::discard() noexcept {
    closeQuietly(m_handle);
    m_handle = kNoHandle;
    ::unlink(m_temporaryPath.c_str());
}

OutputFile OutputFile::create(const std::string& path) {
    rejectEmbeddedZero(path);
    // An existing output keeps its permissions; a new one gets the usual ones.
    mode_t mode = 0666;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            fail(FileCause::AccessDenied, EISDIR, path);
        }
        if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
            fail(FileCause::AccessDenied, EACCES, path);
        }
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        fail(errno, path);
    }

    std::string temporary;
    int fd = kNoHandle;
    do {
        temporary = temporaryPathBeside(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd == kNoHandle && (errno == EEXIST || errno == EINTR));
    if (fd == kNoHandle) {
        fail(errno, path);
    }
    if (exists) {
        ::fchmod(fd, mode); // the umask must not narrow what the file had
    }
    OutputFile output(fd, path, std::move(temporary));
    lockOrFail(fd, LOCK_EX, path);
    return output;
}

void OutputFile::write(std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(m_handle, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            // Whatever the system calls it, a write that stops short is a full disk
            // to the user when nothing better is known.
            const int error = errno;
            const FileCause cause = causeOfErrno(error);
            fail(cause == FileCause::Generic ? FileCause::DiskFull : cause, error, m_path);
        }
        if (put == 0) {
            fail(FileCause::DiskFull, ENOSPC, m_path);
        }
        done += static_cast<std::size_t>(put);
    }
}

void OutputFile::commit() {
    if (::fsync(m_handle) != 0) {
        fail(errno, std::nullopt);
    }
    const int fd = m_handle;
    m_handle = kNoHandle;
    if (::close(fd) != 0) {
        fail(errno, std::nullopt);
    }
    if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
        fail(errno, m_path);
    }
    m_committed = true;
    syncFolderOf(m_path);
}

} // namespace tallowbrook
