#pragma once

// A tooltip over a list box that shows a text for the entry under the
// pointer, asked for each time the pointer comes to rest on another entry.

#include "winapi/windows_prelude.h"
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tallowbrook::win32 {

class ListHoverText {
public:
    using TextOf = std::function<std::wstring(std::size_t row)>;

    // The tooltip belongs to `dialog`, which passes its WM_NOTIFY on to notify().
    ListHoverText(HWND dialog, HWND list, TextOf textOf);
    ~ListHoverText();
    ListHoverText(const ListHoverText&) = delete;
    ListHoverText& operator=(const ListHoverText&) = delete;

    // Answers the tooltip's request for its text; true when it was the tooltip's.
    bool notify(NMHDR& header);

    HWND tooltip() const { return m_tooltip; }

private:
    static LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void pointerAt(LPARAM position);

    HWND m_list;
    HWND m_tooltip;
    TextOf m_textOf;
    std::optional<std::size_t> m_row;
    std::wstring m_text;
};

} // namespace tallowbrook::win32
