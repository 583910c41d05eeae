// Windows implementation of the Merge command's file access. Paths are UTF-8
// inside the program and UTF-16 at the system calls.

#include "convert/file_access.h"

#include "convert/windows_prelude.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>
#include <string_view>

#include "convert/file_error.h"
#include "convert/win32_text.h"

namespace tallowbrook {

namespace {

// Attributes an existing output passes on to its replacement; the rest
// (read-only, compression, encryption, ...) are refused or belong to the system.
constexpr DWORD kAttributesKept =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// ReadFile and WriteFile take a 32-bit count.
constexpr std::size_t kLargestTransfer = std::numeric_limits<DWORD>::max();

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
    case ERROR_FILE_TOO_LARGE:
        return FileCause::DiskFull;
    case ERROR_HANDLE_EOF:
        return FileCause::EndOfFile;
    default:
        return FileCause::Generic;
    }
}

int errorNumber(DWORD error) { return static_cast<int>(error); }

[[noreturn]] void fail(DWORD error, std::optional<std::string> path) {
    throw FileError(causeOfError(error), errorNumber(error), std::move(path));
}

[[noreturn]] void fail(FileCause cause, DWORD error, std::optional<std::string> path) {
    throw FileError(cause, errorNumber(error), std::move(path));
}

void closeQuietly(HANDLE handle) {
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
    }
}

// The path as the system calls take it. Text that is not UTF-8 is an invalid
// path, as is an embedded zero, which the system would silently cut short.
std::wstring widePath(const std::string& path) {
    std::optional<std::wstring> wide;
    if (path.find('\0') == std::string::npos) {
        wide = win32::toWide(path);
    }
    if (!wide) {
        fail(FileCause::BadPath, ERROR_INVALID_NAME, path);
    }
    return *std::move(wide);
}

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }

// A name for the temporary file in the output's folder (or the current folder
// for a bare name, or the drive's current folder for "D:name").
std::wstring temporaryPathBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    const auto nameStart = std::find_if(path.rbegin(), path.rend(), isSeparator).base();
    std::wstring temporary(path.begin(), nameStart);
    temporary += L".tallowbrook-";
    temporary += std::to_wstring(::GetCurrentProcessId());
    temporary += L'-';
    temporary += std::to_wstring(counter++);
    temporary += L".tmp";
    return temporary;
}

} // namespace

SourceFile::SourceFile(NativeHandle handle) : m_handle(handle) {}

SourceFile::SourceFile(SourceFile&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = INVALID_HANDLE_VALUE;
}

SourceFile::~SourceFile() { closeQuietly(m_handle); }

SourceFile SourceFile::open(const std::string& path) {
    // Others may read but not write; a writer that is already there makes this
    // a sharing violation. Without backup semantics a folder is access denied.
    const HANDLE handle = ::CreateFileW(widePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(::GetLastError(), path);
    }
    SourceFile source(handle);
    // Devices ("CON", "NUL", "COM1") and pipes open like files; only disk files
    // have a length that means anything.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        const DWORD error = ::GetLastError();
        fail(FileCause::AccessDenied, error == NO_ERROR ? ERROR_ACCESS_DENIED : error, path);
    }
    return source;
}

std::uint64_t SourceFile::length() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_handle, &size)) {
        fail(::GetLastError(), std::nullopt);
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t SourceFile::read(std::span<std::byte> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const auto wanted = static_cast<DWORD>(std::min(buffer.size() - done, kLargestTransfer));
        DWORD got = 0;
        if (!::ReadFile(m_handle, buffer.data() + done, wanted, &got, nullptr)) {
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
    : m_handle(other.m_handle), m_path(std::move(other.m_path)), m_temporaryPath(std::move(other.m_temporaryPath)),
      m_committed(other.m_committed) {
    other.m_handle = INVALID_HANDLE_VALUE;
    other.m_committed = true; // nothing left for the moved-from object to discard
}

OutputFile::~OutputFile() {
    if (!m_committed) {
        discard();
    }
}

void OutputFile::discard() noexcept {
    closeQuietly(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    if (const std::optional<std::wstring> temporary = win32::toWide(m_temporaryPath)) {
        ::DeleteFileW(temporary->c_str());
    }
}

OutputFile OutputFile::create(const std::string& path) {
    const std::wstring widePathOfOutput = widePath(path);
    // The replacement must not quietly strip a read-only file of its protection
    // or replace a folder: refuse those first. Other attributes are carried over.
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    const DWORD existing = ::GetFileAttributesW(widePathOfOutput.c_str());
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

    std::wstring temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = NO_ERROR;
    do {
        temporary = temporaryPathBeside(widePathOfOutput);
        // Not shared: nobody reads a half-written output.
        handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        error = handle == INVALID_HANDLE_VALUE ? ::GetLastError() : NO_ERROR;
    } while (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    if (handle == INVALID_HANDLE_VALUE) {
        fail(error, path);
    }
    return OutputFile(handle, path, win32::toUtf8(temporary));
}

void OutputFile::write(std::span<const std::byte> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto wanted = static_cast<DWORD>(std::min(bytes.size() - done, kLargestTransfer));
        DWORD put = 0;
        if (!::WriteFile(m_handle, bytes.data() + done, wanted, &put, nullptr)) {
            // Whatever the system calls it, a write that stops short is a full disk
            // to the user when nothing better is known.
            const DWORD error = ::GetLastError();
            const FileCause cause = causeOfError(error);
            fail(cause == FileCause::Generic ? FileCause::DiskFull : cause, error, m_path);
        }
        if (put == 0) {
            fail(FileCause::DiskFull, ERROR_DISK_FULL, m_path);
        }
        done += put;
    }
}

void OutputFile::commit() {
    if (!::FlushFileBuffers(m_handle)) {
        fail(::GetLastError(), std::nullopt);
    }
    const HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    if (!::CloseHandle(handle)) {
        fail(::GetLastError(), std::nullopt);
    }
    // One step that either leaves the old output or puts the new one in its place;
    // write-through returns only once the rename itself is on disk.
    const std::wstring temporary = widePath(m_temporaryPath);
    if (!::MoveFileExW(temporary.c_str(), widePath(m_path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(::GetLastError(), m_path);
    }
    m_committed = true;
}

} // namespace tallowbrook
