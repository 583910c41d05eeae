// The file access's primitives on Windows. Paths are UTF-8 inside the program
// and UTF-16 at the system calls, which each sit in one small wrapper below
// that, in the fault tests' build only, asks the fault seam first.

#include "files/platform.h"

#include "winapi/windows_prelude.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

#include "files/path_syntax.h"
#include "files/system_call.h"
#include "winapi/utf16.h"

namespace tallowbrook {

namespace platform {

namespace {

// Attributes an existing output passes on to its replacement; the rest
// (read-only, compression, encryption, ...) are refused or belong to the system.
constexpr DWORD kAttributesKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// ReadFile and WriteFile take a 32-bit count.
constexpr std::size_t kLargestTransfer = std::numeric_limits<DWORD>::max();

// Paths from this length on reach the system in their long-path form; shorter
// ones as they are, with the platform's own reading of names.
constexpr std::size_t kLongPathFrom = MAX_PATH;

// GetFullPathNameW is asked again when the current folder changed between the
// call that measures and the one that fills.
constexpr int kFullPathAttempts = 3;

// A storage quota that a write would exceed; MinGW's headers lack the name.
constexpr int kErrorDiskQuotaExceeded = 1295;

// What each Windows error means to the user; any other is an unknown error.
constexpr CauseOf kCauses[] = {
    {FileCause::FileNotFound, {ERROR_FILE_NOT_FOUND}},
    {FileCause::BadPath,
     {ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME, ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE, ERROR_INVALID_DRIVE,
      ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_DIRECTORY, ERROR_NO_UNICODE_TRANSLATION}},
    {FileCause::TooManyOpenFiles, {ERROR_TOO_MANY_OPEN_FILES}},
    {FileCause::AccessDenied,
     {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_NETWORK_ACCESS_DENIED, ERROR_PRIVILEGE_NOT_HELD,
      ERROR_DELETE_PENDING}},
    {FileCause::InvalidFile, {ERROR_INVALID_HANDLE}},
    {FileCause::RemoveCurrentDir, {ERROR_CURRENT_DIRECTORY}},
    {FileCause::DirectoryFull, {ERROR_CANNOT_MAKE}},
    {FileCause::BadSeek, {ERROR_SEEK, ERROR_NEGATIVE_SEEK}},
    {FileCause::HardIo,
     {ERROR_CRC, ERROR_IO_DEVICE, ERROR_GEN_FAILURE, ERROR_NOT_READY, ERROR_SECTOR_NOT_FOUND, ERROR_READ_FAULT,
      ERROR_WRITE_FAULT, ERROR_BAD_UNIT, ERROR_DEV_NOT_EXIST, ERROR_UNEXP_NET_ERR, ERROR_NETNAME_DELETED}},
    {FileCause::SharingViolation, {ERROR_SHARING_VIOLATION, ERROR_SHARING_BUFFER_EXCEEDED, ERROR_USER_MAPPED_FILE}},
    {FileCause::LockViolation, {ERROR_LOCK_VIOLATION, ERROR_DRIVE_LOCKED}},
    {FileCause::DiskFull, {ERROR_HANDLE_DISK_FULL, ERROR_DISK_FULL, kErrorDiskQuotaExceeded, ERROR_FILE_TOO_LARGE}},
    {FileCause::EndOfFile, {ERROR_HANDLE_EOF}},
};

Failure failureOf(DWORD error) {
    const auto number = static_cast<int>(error);
    return {causeIn(kCauses, number), number};
}

// The failure the thread's last error tells of.
Failure lastFailure() {
    return failureOf(::GetLastError());
}

Status statusOf(bool succeeded) {
    return succeeded ? std::nullopt : Status(lastFailure());
}

// Each Win32 call of the file access, in one place.
HANDLE createFile(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition, DWORD flags) {
    return goesAhead(Primitive::CreateFileW)
               ? ::CreateFileW(path.c_str(), access, sharing, nullptr, disposition, flags, nullptr)
               : INVALID_HANDLE_VALUE;
}

// FILE_TYPE_UNKNOWN with a last error other than NO_ERROR is a failure.
DWORD fileType(HANDLE handle) {
    ::SetLastError(NO_ERROR);
    return goesAhead(Primitive::GetFileType) ? ::GetFileType(handle) : DWORD{FILE_TYPE_UNKNOWN};
}

bool fileSize(HANDLE handle, LARGE_INTEGER& size) {
    return goesAhead(Primitive::GetFileSizeEx) && ::GetFileSizeEx(handle, &size) != FALSE;
}

DWORD fileAttributes(const std::wstring& path) {
    return goesAhead(Primitive::GetFileAttributesW) ? ::GetFileAttributesW(path.c_str())
                                                    : INVALID_FILE_ATTRIBUTES;
}

bool readFile(HANDLE handle, std::byte* buffer, DWORD wanted, DWORD& got) {
    got = 0;
    DWORD count = wanted;
    return goesAhead(Primitive::ReadFile, count) && ::ReadFile(handle, buffer, count, &got, nullptr) != FALSE;
}

bool writeFile(HANDLE handle, const std::byte* bytes, DWORD wanted, DWORD& put) {
    put = 0;
    DWORD count = wanted;
    return goesAhead(Primitive::WriteFile, count) &&
           ::WriteFile(handle, bytes, count, &put, nullptr) != FALSE;
}

bool flushFile(HANDLE handle) {
    return goesAhead(Primitive::FlushFileBuffers) && ::FlushFileBuffers(handle) != FALSE;
}

// A close that the fault seam fails still closes the handle, as a failing
// CloseHandle does: the handle is gone either way.
bool closeHandle(HANDLE handle) {
    const bool ahead = goesAhead(Primitive::CloseHandle);
    const DWORD injected = ::GetLastError();
    const bool closed = ::CloseHandle(handle) != FALSE;
    if (!ahead) {
        ::SetLastError(injected);
        return false;
    }
    return closed;
}

bool moveFile(const std::wstring& from, const std::wstring& to, DWORD flags) {
    return goesAhead(Primitive::MoveFileExW) && ::MoveFileExW(from.c_str(), to.c_str(), flags) != FALSE;
}

bool deleteFile(const std::wstring& path) {
    return goesAhead(Primitive::DeleteFileW) && ::DeleteFileW(path.c_str()) != FALSE;
}

HANDLE findFirst(const std::wstring& query, WIN32_FIND_DATAW& data) {
    return goesAhead(Primitive::FindFirstFileExW)
               ? ::FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                    FIND_FIRST_EX_LARGE_FETCH)
               : INVALID_HANDLE_VALUE;
}

bool findNext(HANDLE find, WIN32_FIND_DATAW& data) {
    return goesAhead(Primitive::FindNextFileW) && ::FindNextFileW(find, &data) != FALSE;
}

// A listing only read loses nothing when its close fails.
struct FindListing {
    using Native = HANDLE;
    static Native none() noexcept { return INVALID_HANDLE_VALUE; }
    static void release(Native find) noexcept {
        static_cast<void>(goesAhead(Primitive::FindClose));
        ::FindClose(find);
    }
};

// The path as the system calls take it. Text that is not UTF-8 is an invalid
// path; the file access has refused a zero byte and a data stream's ':' already.
Result<std::wstring> widePath(const std::string& path) {
    std::optional<std::wstring> wide = winapi::toWide(path);
    if (!wide) {
        return Failure{FileCause::BadPath, kInvalidPath};
    }
    return *std::move(wide);
}

bool startsWith(std::wstring_view text, std::wstring_view start) {
    return text.substr(0, start.size()) == start;
}

// `wide` made absolute by the platform's own rules: against the current folder
// (or the drive's), "/" and "\" both separating folders, "." and ".." resolved.
// None, with the thread's last error set, when the platform refuses the name.
std::optional<std::wstring> fullPath(const std::wstring& wide) {
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < kFullPathAttempts; ++attempt) {
        const DWORD length =
            ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length); // the size asked for, terminator included
    }
    ::SetLastError(ERROR_BAD_PATHNAME);
    return std::nullopt;
}

// The long-path form of `path`: "\\?\" before its full path ("\\?\UNC\" for a
// share), which takes a path of any length as it stands. A device ("\\.\NUL")
// and a path already in that form stay as they are.
Result<std::wstring> longPathForm(const std::string& path) {
    Result<std::wstring> wide = widePath(path);
    if (wide.failed()) {
        return wide;
    }
    const std::optional<std::wstring> full = fullPath(wide.value());
    if (!full) {
        return lastFailure();
    }
    if (startsWith(*full, L"\\\\?\\") || startsWith(*full, L"\\\\.\\")) {
        return *full;
    }
    if (startsWith(*full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full->substr(2);
    }
    return L"\\\\?\\" + *full;
}

bool isDevicePath(std::wstring_view wide) {
    return startsWith(wide, L"\\\\.\\");
}

// The name the file access hands to the system: as given, unless its full
// path reaches the 260-character limit that Windows otherwise keeps to.
Result<std::wstring> systemPath(const std::string& path) {
    Result<std::wstring> wide = widePath(path);
    if (wide.failed()) {
        return wide;
    }
    const std::optional<std::wstring> full = fullPath(wide.value());
    if (!full || full->size() < kLongPathFrom) {
        return wide; // a name the platform refuses is refused by the call itself
    }
    return longPathForm(path);
}

// The file `create` opens at `path`, or why it could not.
template <typename Create> Result<FileHandle> openedAt(const std::string& path, Create create) {
    Result<std::wstring> system = systemPath(path);
    if (system.failed()) {
        return system.failure();
    }
    FileHandle file(create(system.value()));
    if (!file) {
        return lastFailure();
    }
    return file;
}

} // namespace

const int kInvalidPath = ERROR_INVALID_NAME;
const int kDiskFull = ERROR_DISK_FULL;

void setLastError(int error) {
    ::SetLastError(static_cast<DWORD>(error));
}

Result<FileHandle> openSource(const std::string& path) {
    // Others may read but not write; a writer that is already there makes this
    // a sharing violation. Without backup semantics a folder is access denied.
    Result<FileHandle> source = openedAt(path, [](const std::wstring& system) {
        return createFile(system, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    });
    if (source.failed()) {
        return source;
    }
    // Devices ("CON", "NUL", "COM1") and pipes open like files; only disk files
    // have a length that means anything.
    const DWORD type = fileType(source.value().get());
    if (type == FILE_TYPE_UNKNOWN) {
        if (const DWORD error = ::GetLastError(); error != NO_ERROR) {
            return failureOf(error);
        }
    }
    if (type != FILE_TYPE_DISK) {
        return failureOf(ERROR_ACCESS_DENIED);
    }
    return source;
}

Result<std::uint64_t> sizeOf(const FileHandle& file) {
    LARGE_INTEGER size{};
    if (!fileSize(file.get(), size)) {
        return lastFailure();
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

// The end of the file may also be told as an error.
Result<std::size_t> readSome(const FileHandle& file, std::span<std::byte> buffer) {
    DWORD got = 0;
    if (!readFile(file.get(), buffer.data(), static_cast<DWORD>(std::min(buffer.size(), kLargestTransfer)), got)) {
        const DWORD error = ::GetLastError();
        return error == ERROR_HANDLE_EOF ? Result<std::size_t>(std::size_t{0}) : failureOf(error);
    }
    return std::size_t{got};
}

Result<std::size_t> writeSome(const FileHandle& file, std::span<const std::byte> bytes) {
    DWORD put = 0;
    if (!writeFile(file.get(), bytes.data(), static_cast<DWORD>(std::min(bytes.size(), kLargestTransfer)), put)) {
        return lastFailure();
    }
    return std::size_t{put};
}

// The replacement must not quietly strip a read-only file of its protection or
// replace a folder: those are refused. Other attributes are carried over.
Result<Existing> lookAtOutput(const std::string& path) {
    const Result<std::wstring> system = systemPath(path);
    if (system.failed()) {
        return system.failure();
    }
    const DWORD attributes = fileAttributes(system.value());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            return failureOf(error);
        }
        return Existing{false, FILE_ATTRIBUTE_NORMAL};
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return failureOf(ERROR_ACCESS_DENIED);
    }
    const DWORD kept = attributes & kAttributesKept;
    return Existing{true, static_cast<unsigned>(kept != 0 ? kept : DWORD{FILE_ATTRIBUTE_NORMAL})};
}

// The output's folder, the current folder for a bare name, or the drive's
// current folder for "D:name".
std::string folderPartOf(const std::string& path) {
    return path.substr(0, fileNameStart(path, PathStyle::Windows));
}

unsigned long processNumber() {
    return ::GetCurrentProcessId();
}

// Not shared: nobody reads a half-written output.
Result<FileHandle> createExclusively(const std::string& path, const Existing& existing) {
    return openedAt(path, [&](const std::wstring& system) {
        return createFile(system, GENERIC_WRITE, 0, CREATE_NEW, existing.kept);
    });
}

bool nameTaken(const Failure& failure) {
    return failure.osError == ERROR_FILE_EXISTS || failure.osError == ERROR_ALREADY_EXISTS;
}

// The attributes were given at creation, and the file is open to nobody else.
Status prepare(const FileHandle& /*file*/, const Existing& /*existing*/) {
    return std::nullopt;
}

Status flush(const FileHandle& file) {
    return statusOf(flushFile(file.get()));
}

Status close(FileHandle file) {
    return statusOf(closeHandle(file.take()));
}

// One step that either leaves the old output or puts the new one in its place.
Status replace(const std::string& from, const std::string& to) {
    const Result<std::wstring> systemFrom = systemPath(from);
    const Result<std::wstring> systemTo = systemPath(to);
    if (systemFrom.failed() || systemTo.failed()) {
        return (systemFrom.failed() ? systemFrom : systemTo).failure();
    }
    return statusOf(moveFile(systemFrom.value(), systemTo.value(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

// Write-through: replace() returns only once the rename itself is on disk, so
// there is no folder to flush afterwards.
Status makeDurable(const std::string& /*path*/) {
    return std::nullopt;
}

// A name the system cannot take cannot be there, nor be removed.
bool remove(const std::string& path) {
    const Result<std::wstring> system = systemPath(path);
    return !system.failed() && (deleteFile(system.value()) || ::GetLastError() == ERROR_FILE_NOT_FOUND);
}

// Looked at in the long-path form, so that a folder of any length can be.
Result<bool> isFolder(const std::string& path) {
    const Result<std::wstring> system = longPathForm(path);
    if (system.failed()) {
        return system.failure();
    }
    if (isDevicePath(system.value())) {
        return false;
    }
    const DWORD attributes = fileAttributes(system.value());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return lastFailure();
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Status listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    return listMatching(folder, "*", entries);
}

Status listMatching(const std::string& folder, const std::string& pattern, std::vector<FolderEntry>& entries) {
    Result<std::wstring> query = longPathForm(folder.empty() ? std::string(".") : folder);
    if (query.failed()) {
        return query.failure();
    }
    const std::optional<std::wstring> widePattern = winapi::toWide(pattern);
    if (!widePattern || widePattern->find(L'\0') != std::wstring::npos) {
        return Failure{FileCause::BadPath, kInvalidPath};
    }
    if (query.value().back() != L'\\') {
        query.value() += L'\\';
    }
    query.value() += *widePattern;
    WIN32_FIND_DATAW data{};
    const OwnedHandle<FindListing> find(findFirst(query.value(), data));
    if (!find) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
            return std::nullopt; // the folder is there; nothing in it matches
        }
        if (error == ERROR_PATH_NOT_FOUND) {
            return Failure{FileCause::FileNotFound, static_cast<int>(error)}; // the folder is not there
        }
        return failureOf(error);
    }
    do {
        const std::wstring_view name(static_cast<const wchar_t*>(data.cFileName));
        if (name != L"." && name != L"..") {
            entries.push_back({winapi::toUtf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        }
    } while (findNext(find.get(), data));
    return statusOf(::GetLastError() == ERROR_NO_MORE_FILES);
}

} // namespace platform

OpenFile::Native OpenFile::none() noexcept {
    return INVALID_HANDLE_VALUE;
}

// For handles whose close can lose nothing: a source, opened for reading only,
// and a temporary file that is being thrown away.
void OpenFile::release(Native native) noexcept {
    static_cast<void>(platform::closeHandle(native));
}

} // namespace tallowbrook
