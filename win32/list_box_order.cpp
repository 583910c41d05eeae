#include "win32/list_box_order.h"

#include "winapi/utf16.h"
#include "winapi/windows_prelude.h"

#include <string>

namespace tallowbrook::win32 {

bool platformSortsBefore(std::string_view left, std::string_view right) {
    const std::wstring wideLeft = winapi::toWide(left).value_or(std::wstring());
    const std::wstring wideRight = winapi::toWide(right).value_or(std::wstring());
    // What the list box uses for its sorted style (and lstrcmpiW for the user's locale).
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideLeft.c_str(), -1, wideRight.c_str(),
                            -1) == CSTR_LESS_THAN;
}

} // namespace tallowbrook::win32
