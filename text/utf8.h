#pragma once

// Which bytes from outside are well-formed UTF-8.

#include <cstddef>
#include <string_view>

namespace tallowbrook {

// Length of the well-formed UTF-8 sequence that `text` starts with, or 0 when
// it is empty or does not start with one (no overlong forms, no surrogates,
// nothing above U+10FFFF).
std::size_t utf8SequenceLength(std::string_view text);

} // namespace tallowbrook
