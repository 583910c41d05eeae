#pragma once

// Strict UTF-8 for the path properties: shortest forms only, no surrogates,
// nothing above U+10FFFF.

#include <cstddef>
#include <optional>
#include <string_view>

namespace tallowbrook::fuzz {

// The number of code points of `text`, or none when it is not valid UTF-8.
std::optional<std::size_t> utf8CodePoints(std::string_view text);

} // namespace tallowbrook::fuzz
