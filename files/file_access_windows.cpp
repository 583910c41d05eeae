// Windows implementation of the Merge command's file access and of the folder
// listing the front ends use. Paths are UTF-8 inside the program and UTF-16 at
// the system calls.

#include "files/file_access.h"

#include "winapi/windows_prelude.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "files/fault_injection.h"
#include "files/file_error.h"
#include "files/folder_access.h"
#include "files/path_syntax.h"
#include "winapi/utf16.h"

namespace tallowbrook {

namespace {

using fault::Primitive;

// Attributes an existing output passes on to its replacement; the rest
// (read-only, compression, encryption, ...) are refused or belong to the system.
constexpr DWORD kAttributesKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// ReadFile and WriteFile take a 32-bit count.
constexpr std::size_t kLargestTransfer = std::numeric_limits<DWORD>::max();

// Temporary names are unique to the process and a counter; finding this many
// of them taken in a row means something else is wrong.
constexpr int kTemporaryNameAttempts = 100;

// Paths from this length on reach the system in their long-path form; shorter
// ones as they are, with the platform's own reading of names.
constexpr std::size_t kLongPathFrom = MAX_PATH;

// GetFullPathNameW is asked again when the current folder changed between the
// call that measures and the one that fills.
constexpr int kFullPathAttempts = 3;

// A storage quota that a write would exceed; MinGW's headers lack the name.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

FileCause causeOfError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return FileCause::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
    case ERROR_NO_UNICODE_TRANSLATION:
        return FileCause::BadPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return FileCause::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
    case ERROR_DELETE_PENDING:
        return FileCause::AccessDenied;
    case ERROR_INVALID_HANDLE:
        return FileCause::InvalidFile;
    case ERROR_CURRENT_DIRECTORY:
        return FileCause::RemoveCurrentDir;
    case ERROR_CANNOT_MAKE:
        return FileCause::DirectoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
        return FileCause::BadSeek;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_BAD_UNIT:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
        return FileCause::HardIo;
    case ERROR_SHARING_VIOLATION:
    case ERROR_SHARING_BUFFER_EXCEEDED:
    case ERROR_USER_MAPPED_FILE:
        return FileCause::SharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
        return FileCause::LockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
    case kErrorDiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE:
        return FileCause::DiskFull;
    case ERROR_HANDLE_EOF:
        return FileCause::EndOfFile;
    default:
        return FileCause::Generic;
    }
}

int errorNumber(DWORD error) {
    return static_cast<int>(error);
}

FileError errorOf(DWORD error, std::optional<std::string> path) {
    return {causeOfError(error), errorNumber(error), std::move(path)};
}

[[noreturn]] void fail(DWORD error, std::optional<std::string> path) {
    throw errorOf(error, std::move(path));
}

[[noreturn]] void fail(FileCause cause, DWORD error, std::optional<std::string> path) {
    throw FileError(cause, errorNumber(error), std::move(path));
}

// Whether the call may go ahead: false, with the thread's last error set, when
// the fault seam makes it fail. `count` is what a transfer may move; the seam
// can shorten it.
bool goesAhead([[maybe_unused]] Primitive primitive, [[maybe_unused]] DWORD& count) {
#ifdef TALLOWBROOK_FAULT_INJECTION
    if (const std::optional<int> error = fault::applyFault(primitive, count)) {
        ::SetLastError(static_cast<DWORD>(*error));
        return false;
    }
#endif
    return true;
}

bool goesAhead(Primitive primitive) {
    DWORD unused = 0;
    return goesAhead(primitive, unused);
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
struct FindCloser {
    using pointer = HANDLE;
    void operator()(HANDLE find) const {
        static_cast<void>(goesAhead(Primitive::FindClose));
        ::FindClose(find);
    }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

// For handles whose close can lose nothing: a source, opened for reading only,
// and a temporary file that is being thrown away.
void closeQuietly(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE) {
        closeHandle(handle);
    }
}

// The path as the system calls take it. Text that is not UTF-8 is an invalid
// path, as is an embedded zero, which the system would silently cut short, and
// a ':' that would name an alternate data stream of another file.
std::wstring widePath(const std::string& path) {
    std::optional<std::wstring> wide;
    if (path.find('\0') == std::string::npos && !namesDataStream(path, PathStyle::Windows)) {
        wide = winapi::toWide(path);
    }
    if (!wide) {
        fail(FileCause::BadPath, ERROR_INVALID_NAME, path);
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
std::wstring longPathForm(const std::string& path) {
    const std::optional<std::wstring> full = fullPath(widePath(path));
    if (!full) {
        fail(::GetLastError(), path);
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
std::wstring systemPath(const std::string& path) {
    std::wstring wide = widePath(path);
    const std::optional<std::wstring> full = fullPath(wide);
    if (!full || full->size() < kLongPathFrom) {
        return wide; // a name the platform refuses is refused by the call itself
    }
    return longPathForm(path);
}

// A name for the temporary file in the output's folder (or the current folder
// for a bare name, or the drive's current folder for "D:name").
std::string temporaryPathBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    std::string temporary = path.substr(0, fileNameStart(path, PathStyle::Windows));
    temporary += ".tallowbrook-";
    temporary += std::to_string(::GetCurrentProcessId());
    temporary += '-';
    temporary += std::to_string(counter++);
    temporary += ".tmp";
    return temporary;
}

} // namespace

SourceFile::SourceFile(NativeHandle handle) : m_handle(handle) {}

SourceFile::SourceFile(SourceFile&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = INVALID_HANDLE_VALUE;
}

SourceFile::~SourceFile() {
    closeQuietly(m_handle);
}

SourceFile SourceFile::open(const std::string& path) {
    // Others may read but not write; a writer that is already there makes this
    // a sharing violation. Without backup semantics a folder is access denied.
    const HANDLE handle = createFile(systemPath(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(::GetLastError(), path);
    }
    SourceFile source(handle); // closes it on every way out
    // Devices ("CON", "NUL", "COM1") and pipes open like files; only disk files
    // have a length that means anything.
    const DWORD type = fileType(handle);
    if (type == FILE_TYPE_UNKNOWN) {
        if (const DWORD error = ::GetLastError(); error != NO_ERROR) {
            fail(error, path);
        }
    }
    if (type != FILE_TYPE_DISK) {
        fail(FileCause::AccessDenied, ERROR_ACCESS_DENIED, path);
    }
    return source;
}

std::uint64_t SourceFile::length() const {
    LARGE_INTEGER size{};
    if (!fileSize(m_handle, size)) {
        fail(::GetLastError(), std::nullopt);
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

// Reading moves the file's position, so it is not const even though the
// handle itself does not change.
// NOLINTNEXTLINE(readability-make-member-function-const)
std::size_t SourceFile::read(std::span<std::byte> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const auto wanted = static_cast<DWORD>(std::min(buffer.size() - done, kLargestTransfer));
        DWORD got = 0;
        if (!readFile(m_handle, buffer.data() + done, wanted, got)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) {
                break;
            }
            fail(error, std::nullopt);
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

OutputFile::OutputFile(NativeHandle handle, std::string path, std::string temporaryPath)
    : m_handle(handle), m_path(std::move(path)), m_temporaryPath(std::move(temporaryPath)) {}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : m_handle(other.m_handle), m_path(std::move(other.m_path)),
      m_temporaryPath(std::move(other.m_temporaryPath)), m_committed(other.m_committed) {
    other.m_handle = INVALID_HANDLE_VALUE;
    other.m_committed = true; // nothing left for the moved-from object to discard
}

OutputFile::~OutputFile() {
    if (!m_committed) {
        discard();
    }
}

bool OutputFile::discard() noexcept {
    closeQuietly(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    if (m_temporaryPath.empty()) {
        return true;
    }
    bool removed = false;
    try {
        removed = deleteFile(systemPath(m_temporaryPath)) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
    } catch (const FileError&) {
        // A name the system cannot take: the file cannot be there, nor be removed.
    }
    m_temporaryPath.clear(); // one attempt: whoever must know has been told
    return removed;
}

OutputFile OutputFile::create(const std::string& path) {
    const std::wstring widePathOfOutput = systemPath(path);
    // The replacement must not quietly strip a read-only file of its protection
    // or replace a folder: refuse those first. Other attributes are carried over.
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    const DWORD existing = fileAttributes(widePathOfOutput);
    if (existing != INVALID_FILE_ATTRIBUTES) {
        if ((existing & FILE_ATTRIBUTE_DIRECTORY) != 0 || (existing & FILE_ATTRIBUTE_READONLY) != 0) {
            fail(FileCause::AccessDenied, ERROR_ACCESS_DENIED, path);
        }
        if ((existing & kAttributesKept) != 0) {
            attributes = existing & kAttributesKept;
        }
    } else {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            fail(error, path);
        }
    }

    std::string temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = NO_ERROR;
    int attempts = 0;
    do {
        temporary = temporaryPathBeside(path);
        // Not shared: nobody reads a half-written output.
        handle = createFile(systemPath(temporary), GENERIC_WRITE, 0, CREATE_NEW, attributes);
        error = handle == INVALID_HANDLE_VALUE ? ::GetLastError() : NO_ERROR;
    } while ((error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) &&
             ++attempts < kTemporaryNameAttempts);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(error, path);
    }
    return OutputFile(handle, path, std::move(temporary));
}

void OutputFile::write(std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto wanted = static_cast<DWORD>(std::min(bytes.size() - done, kLargestTransfer));
        DWORD put = 0;
        if (!writeFile(m_handle, bytes.data() + done, wanted, put)) {
            // Whatever the system calls it, a write that stops short is a full disk
            // to the user when nothing better is known.
            const DWORD error = ::GetLastError();
            const FileCause cause = causeOfError(error);
            abandon(FileError(cause == FileCause::Generic ? FileCause::DiskFull : cause, errorNumber(error),
                              m_path));
        }
        if (put == 0) {
            abandon(FileError(FileCause::DiskFull, errorNumber(ERROR_DISK_FULL), m_path));
        }
        done += put;
    }
}

void OutputFile::commit() {
    if (!flushFile(m_handle)) {
        abandon(errorOf(::GetLastError(), std::nullopt));
    }
    if (!closeHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE))) {
        abandon(errorOf(::GetLastError(), std::nullopt));
    }
    // One step that either leaves the old output or puts the new one in its place;
    // write-through returns only once the rename itself is on disk, so there is no
    // folder to flush afterwards.
    if (!moveFile(systemPath(m_temporaryPath), systemPath(m_path),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        abandon(errorOf(::GetLastError(), m_path));
    }
    m_committed = true;
}

bool folderAt(const std::string& path) {
    const std::wstring system = longPathForm(path);
    if (isDevicePath(system)) {
        return false;
    }
    const DWORD attributes = fileAttributes(system);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        fail(::GetLastError(), path);
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<FolderEntry> matchingEntries(const std::string& folder, const std::string& pattern) {
    std::wstring query = longPathForm(folder.empty() ? std::string(".") : folder);
    if (query.back() != L'\\') {
        query += L'\\';
    }
    const std::optional<std::wstring> widePattern = winapi::toWide(pattern);
    if (!widePattern || widePattern->find(L'\0') != std::wstring::npos) {
        fail(FileCause::BadPath, ERROR_INVALID_NAME, folder);
    }
    query += *widePattern;
    WIN32_FIND_DATAW data{};
    const HANDLE first = findFirst(query, data);
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
            return {}; // the folder is there; nothing in it matches
        }
        if (error == ERROR_PATH_NOT_FOUND) {
            fail(FileCause::FileNotFound, error, folder); // the folder is not there
        }
        fail(error, folder);
    }
    const FindHandle find(first);
    std::vector<FolderEntry> entries;
    do {
        const std::wstring_view name(static_cast<const wchar_t*>(data.cFileName));
        if (name != L"." && name != L"..") {
            entries.push_back({winapi::toUtf8(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        }
    } while (findNext(find.get(), data));
    if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES) {
        fail(error, folder);
    }
    return entries;
}

std::vector<FolderEntry> folderEntries(const std::string& folder) {
    return matchingEntries(folder, "*");
}

} // namespace tallowbrook
