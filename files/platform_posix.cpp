// The file access's primitives on POSIX. Every system call goes through one
// small wrapper below, which retries a call that a signal interrupted and, in
// the fault tests' build only, asks the fault seam first.

#include "files/platform.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/system_call.h"

namespace tallowbrook {

namespace platform {

namespace {

// A signal may interrupt a call again and again; after this many interruptions
// in a row the call is reported as failing instead of being retried for ever.
constexpr int kAttemptsWhenInterrupted = 100;

// What a file system answers when it cannot sync a folder at all. The file
// itself is on disk by then, so these alone are passed over.
constexpr std::array kFolderSyncUnsupported{EINVAL, ENOTSUP, EOPNOTSUPP, EROFS};

// What each errno means to the user; any other is an unknown error.
constexpr CauseOf kCauses[] = {
    {FileCause::FileNotFound, {ENOENT}},
    {FileCause::BadPath, {ENOTDIR, ENAMETOOLONG, ELOOP, EINVAL}},
    {FileCause::TooManyOpenFiles, {EMFILE, ENFILE}},
    {FileCause::AccessDenied, {EACCES, EPERM, EROFS, EISDIR, ETXTBSY}},
    {FileCause::InvalidFile, {EBADF}},
    {FileCause::DiskFull, {ENOSPC, EDQUOT, EFBIG}},
    {FileCause::HardIo, {EIO}},
    {FileCause::SharingViolation, {EWOULDBLOCK}},
};

Failure failureOf(int error) {
    return {causeIn(kCauses, error), error};
}

// The failure errno tells of.
Failure lastFailure() {
    return failureOf(errno);
}

Status statusOf(int result) {
    return result == 0 ? std::nullopt : Status(lastFailure());
}

// Runs `call` again while a signal interrupts it, up to the bound.
template <typename Call> auto retryingInterrupted(Call call) {
    auto result = call();
    for (int attempt = 1; result == -1 && errno == EINTR && attempt < kAttemptsWhenInterrupted; ++attempt) {
        result = call();
    }
    return result;
}

// The system calls, each in one place.
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
struct FolderStream {
    using Native = DIR*;
    static Native none() noexcept { return nullptr; }
    static void release(Native stream) noexcept {
        static_cast<void>(goesAhead(Primitive::Close));
        ::closedir(stream);
    }
};

// What a read or write that `call` makes of at most `size` bytes moved.
template <typename Call> Result<std::size_t> transferred(Primitive primitive, std::size_t size, Call call) {
    const ssize_t moved = retryingInterrupted([&]() -> ssize_t {
        std::size_t count = size;
        return goesAhead(primitive, count) ? call(count) : -1;
    });
    if (moved < 0) {
        return lastFailure();
    }
    return static_cast<std::size_t>(moved);
}

Result<FileHandle> opened(int fd) {
    if (fd == OpenFile::none()) {
        return lastFailure();
    }
    return FileHandle(fd);
}

std::string_view folderOf(std::string_view path) {
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? std::string_view("/") : path.substr(0, slash);
}

bool folderSyncUnsupported(int error) {
    return std::find(kFolderSyncUnsupported.begin(), kFolderSyncUnsupported.end(), error) !=
           kFolderSyncUnsupported.end();
}

} // namespace

const int kInvalidPath = EINVAL;
const int kDiskFull = ENOSPC;

void setLastError(int error) {
    errno = error;
}

Result<FileHandle> openSource(const std::string& path) {
    // Non-blocking so that a named pipe cannot stall the run; it is refused below.
    Result<FileHandle> source = opened(openPath(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (source.failed()) {
        return source;
    }
    const int fd = source.value().get();
    struct stat status {};
    if (statHandle(fd, status) != 0) {
        return lastFailure();
    }
    if (!S_ISREG(status.st_mode)) {
        return Failure{FileCause::AccessDenied, S_ISDIR(status.st_mode) ? EISDIR : EINVAL};
    }
    // A conflicting lock (a writer's) is a sharing violation.
    if (lockHandle(fd, LOCK_SH | LOCK_NB) != 0) {
        return lastFailure();
    }
    return source;
}

Result<std::uint64_t> sizeOf(const FileHandle& file) {
    struct stat status {};
    if (statHandle(file.get(), status) != 0) {
        return lastFailure();
    }
    return static_cast<std::uint64_t>(status.st_size);
}

Result<std::size_t> readSome(const FileHandle& file, std::span<std::byte> buffer) {
    return transferred(Primitive::Read, buffer.size(),
                       [&](std::size_t count) { return ::read(file.get(), buffer.data(), count); });
}

Result<std::size_t> writeSome(const FileHandle& file, std::span<const std::byte> bytes) {
    return transferred(Primitive::Write, bytes.size(),
                       [&](std::size_t count) { return ::write(file.get(), bytes.data(), count); });
}

// An existing output keeps its permissions, which must allow writing, also for
// a superuser; a new one gets the usual ones.
Result<Existing> lookAtOutput(const std::string& path) {
    struct stat existing {};
    if (statPath(path, existing) != 0) {
        if (errno != ENOENT) {
            return lastFailure();
        }
        return Existing{false, 0666};
    }
    if (S_ISDIR(existing.st_mode)) {
        return Failure{FileCause::AccessDenied, EISDIR};
    }
    if ((existing.st_mode & 0222) == 0) {
        return Failure{FileCause::AccessDenied, EACCES};
    }
    if (accessPath(path, W_OK) != 0) {
        return lastFailure();
    }
    return Existing{true, existing.st_mode & 07777};
}

std::string folderPartOf(const std::string& path) {
    return std::string(folderOf(path)) + '/';
}

unsigned long processNumber() {
    return static_cast<unsigned long>(::getpid());
}

Result<FileHandle> createExclusively(const std::string& path, const Existing& existing) {
    return opened(openPath(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, existing.kept));
}

bool nameTaken(const Failure& failure) {
    return failure.osError == EEXIST;
}

Status prepare(const FileHandle& file, const Existing& existing) {
    // The umask must not narrow what the replaced file had.
    if (existing.replaced && chmodHandle(file.get(), existing.kept) != 0) {
        return lastFailure();
    }
    return statusOf(lockHandle(file.get(), LOCK_EX | LOCK_NB));
}

Status flush(const FileHandle& file) {
    return statusOf(syncHandle(file.get()));
}

// EINTR from close: the descriptor is released and the bytes are on disk.
Status close(FileHandle file) {
    if (closeHandle(file.take()) != 0 && errno != EINTR) {
        return lastFailure();
    }
    return std::nullopt;
}

Status replace(const std::string& from, const std::string& to) {
    return statusOf(renamePath(from, to));
}

// A rename is durable once its folder is synced. A file system that cannot sync
// a folder at all is passed over.
Status makeDurable(const std::string& path) {
    const FileHandle folder(openPath(std::string(folderOf(path)), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int error = !folder || syncHandle(folder.get()) != 0 ? errno : 0;
    if (error == 0 || folderSyncUnsupported(error)) {
        return std::nullopt;
    }
    return failureOf(error);
}

bool remove(const std::string& path) {
    return unlinkPath(path) == 0 || errno == ENOENT;
}

Result<bool> isFolder(const std::string& path) {
    struct stat status {};
    if (statPath(path, status) != 0) {
        return lastFailure();
    }
    return S_ISDIR(status.st_mode);
}

Status listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    FileHandle descriptor(openPath(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!descriptor) {
        return lastFailure();
    }
    const OwnedHandle<FolderStream> stream(::fdopendir(descriptor.get()));
    if (!stream) {
        return lastFailure();
    }
    static_cast<void>(descriptor.take()); // the stream closes it
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '/') {
        prefix += '/';
    }
    while (const dirent* entry = readEntry(stream.get())) {
        const std::string_view name(static_cast<const char*>(entry->d_name));
        if (name == "." || name == "..") {
            continue;
        }
        bool leadsToFolder = entry->d_type == DT_DIR;
        // A link, or a file system that does not say: what the name leads to
        // decides. One that cannot be looked at is listed as a file, whose
        // opening will report why.
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat status {};
            leadsToFolder = statPath(prefix + std::string(name), status) == 0 && S_ISDIR(status.st_mode);
        }
        entries.push_back({std::string(name), leadsToFolder});
    }
    return errno == 0 ? std::nullopt : Status(lastFailure());
}

} // namespace platform

OpenFile::Native OpenFile::none() noexcept {
    return -1;
}

// For descriptors whose close can lose nothing: a source, opened for reading
// only, a folder, and a temporary file that is being thrown away.
void OpenFile::release(Native native) noexcept {
    static_cast<void>(platform::closeHandle(native));
}

} // namespace tallowbrook
