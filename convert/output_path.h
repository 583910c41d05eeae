#pragma once

// Where a converted file goes: beside its source, with the target version's
// suffix inserted in front of the last four characters of the file name. Also
// the folder part of a path and which paths may reach the system at all.

#include <cstddef>
#include <string>
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

// Inserts `suffix` into the UTF-8 `path` at character (code point) position
// max(start of the file name, length - 4), so "/d/laser.dat" gives
// "/d/laser_802.dat", a short name keeps the suffix inside its own folder, and
// no multi-byte sequence is split. Removing the suffix gives back the path.
std::string outputPathFor(std::string_view path, std::string_view suffix,
                          PathStyle style = PathStyle::Native);

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
