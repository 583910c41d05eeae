#include "convert/folder_files.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "convert/file_error.h"
#include "convert/output_path.h"

namespace tallowbrook {

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

fs::path fromUtf8(const std::string& text) {
    return {std::u8string(text.begin(), text.end())};
}

std::string toUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

bool hasDataExtension(std::string_view name) {
    constexpr std::string_view kExtension = ".dat";
    if (name.size() < kExtension.size()) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - kExtension.size());
    return std::equal(tail.begin(), tail.end(), kExtension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

// The error condition is the portable errno value on every platform.
FileCause causeOf(const std::error_code& error) {
    switch (static_cast<std::errc>(error.default_error_condition().value())) {
    case std::errc::no_such_file_or_directory:
        return FileCause::FileNotFound;
    case std::errc::not_a_directory:
    case std::errc::filename_too_long:
    case std::errc::invalid_argument:
    case std::errc::too_many_symbolic_link_levels:
        return FileCause::BadPath;
    case std::errc::too_many_files_open:
    case std::errc::too_many_files_open_in_system:
        return FileCause::TooManyOpenFiles;
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted:
        return FileCause::AccessDenied;
    case std::errc::io_error:
        return FileCause::HardIo;
    default:
        return FileCause::Generic;
    }
}

[[noreturn]] void fail(const std::error_code& error, const std::string& folder) {
    throw FileError(causeOf(error), error.value(), folder);
}

} // namespace

bool isFolder(const std::string& path) {
    if (path.find('\0') != std::string::npos) {
        return false;
    }
    std::error_code ignored;
    return fs::is_directory(fromUtf8(path), ignored);
}

std::vector<std::string> dataFilesIn(const std::string& folder) {
    if (folder.find('\0') != std::string::npos) {
        throw FileError(FileCause::BadPath, EINVAL, folder);
    }
    std::string prefix = folder;
    // "D:" names the drive's current folder and takes no separator; only a
    // drive's ':' ends a folder part.
    if (prefix.empty() || fileNameStart(prefix) != prefix.size()) {
        prefix += kSeparator;
    }
    std::vector<std::string> files;
    std::error_code error;
    fs::directory_iterator entries(fromUtf8(folder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const std::string name = toUtf8(entries->path().filename());
        std::error_code ignored;
        if (hasDataExtension(name) && !entries->is_directory(ignored)) {
            files.push_back(prefix + name);
        }
    }
    if (error) {
        fail(error, folder);
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace tallowbrook
