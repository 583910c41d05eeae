#pragma once

// The order of texts of the system's sorted list box, for the dialog model.

#include <string_view>

namespace tallowbrook::win32 {

// True when `left` (UTF-8) sorts before `right` as a list box with the sorted
// style would put them: the user's locale, letter case not counting, so
// "d:\a" comes before "E:\b\x.dat".
bool platformSortsBefore(std::string_view left, std::string_view right);

} // namespace tallowbrook::win32
