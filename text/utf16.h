#pragma once

// UTF-16 text from outside (a record's text fields) as the UTF-8 the program
// works in.

#include <string>
#include <string_view>

namespace tallowbrook {

// `units` as UTF-8; a unit that is not part of a well-formed surrogate pair
// becomes U+FFFD. A zero unit is converted like any other.
std::string utf8FromUtf16(std::u16string_view units);

} // namespace tallowbrook
