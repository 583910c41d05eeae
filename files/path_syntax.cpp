#include "files/path_syntax.h"

namespace tallowbrook {

namespace {

constexpr std::size_t kNoDrive = std::string_view::npos;

bool isFolderSeparator(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "\\?\" or "\\.\" (either slash): the platform's prefix of a path handed to the
// system as it stands, which may be followed by a drive ("\\?\D:\x").
bool hasDevicePrefix(std::string_view path) {
    return path.size() >= 4 && isFolderSeparator(path[0], PathStyle::Windows) &&
           isFolderSeparator(path[1], PathStyle::Windows) && (path[2] == '?' || path[2] == '.') &&
           isFolderSeparator(path[3], PathStyle::Windows);
}

// The position of the drive's ':' in a Windows path, or kNoDrive. UNC paths
// ("\\server\share\x") and their extended form ("\\?\UNC\server\share") have none.
std::size_t driveColon(std::string_view path) {
    const std::size_t letter = hasDevicePrefix(path) ? 4 : 0;
    if (path.size() > letter + 1 && isAsciiLetter(path[letter]) && path[letter + 1] == ':') {
        return letter + 1;
    }
    return kNoDrive;
}

} // namespace

std::size_t fileNameStart(std::string_view path, PathStyle style) {
    std::size_t start = 0;
    if (style == PathStyle::Windows) {
        if (const std::size_t colon = driveColon(path); colon != kNoDrive) {
            start = colon + 1;
        }
    }
    for (std::size_t i = path.size(); i > start; --i) {
        if (isFolderSeparator(path[i - 1], style)) {
            return i;
        }
    }
    return start;
}

bool namesDataStream(std::string_view path, PathStyle style) {
    if (style != PathStyle::Windows) {
        return false;
    }
    const std::size_t drive = driveColon(path);
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == ':' && i != drive) {
            return true;
        }
    }
    return false;
}

} // namespace tallowbrook
