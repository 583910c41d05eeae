#pragma once

// Where a converted file goes: beside its source, with the target version's
// suffix inserted in front of the last four characters of the file name.

#include <string>
#include <string_view>

#include "files/path_syntax.h"

namespace tallowbrook {

// Inserts `suffix` into the UTF-8 `path` at character (code point) position
// max(start of the file name, length - 4), so "/d/laser.dat" gives
// "/d/laser_802.dat", a short name keeps the suffix inside its own folder, and
// no multi-byte sequence is split. Removing the suffix gives back the path.
std::string outputPathFor(std::string_view path, std::string_view suffix,
                          PathStyle style = PathStyle::Native);

} // namespace tallowbrook
