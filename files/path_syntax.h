#pragma once

// How the platform spells paths: which characters separate folders, where a
// drive ends, and which colons name a data stream. Nothing here touches the
// file system.

#include <cstddef>
#include <string_view>

namespace tallowbrook {

enum class PathStyle {
    Posix,   // "/" separates folders
    Windows, // "\" and "/" separate folders; a drive's ":" ends the drive
#ifdef _WIN32
    Native = Windows,
#else
    Native = Posix,
#endif
};

// The separator the platform writes between folders.
#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

// The byte position where the file name begins: behind the last folder
// separator, or behind the drive ("D:name" names "name" in the drive's current
// folder), or 0.
std::size_t fileNameStart(std::string_view path, PathStyle style = PathStyle::Native);

// True when `path` holds a ':' that Windows would read as naming an alternate
// data stream of the file before it ("D:\x\laser.dat:s"): any ':' but the one
// right after a drive letter, at the path's start or behind a "\\?\" or "\\.\"
// prefix. A run must never read or write such a path, since the stream belongs
// to another file, possibly a source. Never true for POSIX paths.
bool namesDataStream(std::string_view path, PathStyle style = PathStyle::Native);

} // namespace tallowbrook
