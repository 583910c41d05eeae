#include "win32/list_hover_text.h"

#include "win32/dialog_base.h"

namespace tallowbrook::win32 {

namespace {
constexpr UINT_PTR kSubclassId = 1;
// Paths are long: let the text wrap rather than run off the screen.
constexpr int kWidestTip = 600;

HWND createTooltip(HWND owner) {
    return ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             resourceModule(), nullptr);
}
} // namespace

ListHoverText::ListHoverText(HWND dialog, HWND list, TextOf textOf)
    : m_list(list), m_tooltip(createTooltip(dialog)), m_textOf(std::move(textOf)) {
    if (m_tooltip == nullptr) {
        return;
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, kWidestTip);
    ::SetWindowSubclass(list, listProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ListHoverText::~ListHoverText() {
    if (m_list != nullptr) {
        ::RemoveWindowSubclass(m_list, listProc, kSubclassId);
    }
    if (m_tooltip != nullptr) {
        ::DestroyWindow(m_tooltip);
    }
}

bool ListHoverText::notify(NMHDR& header) {
    if (header.hwndFrom != m_tooltip || header.code != TTN_GETDISPINFOW) {
        return false;
    }
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    // No entry under the pointer: no text, so no tip.
    m_text = m_row ? m_textOf(*m_row) : std::wstring();
    info.lpszText = m_text.data();
    info.hinst = nullptr;
    return true;
}

void ListHoverText::pointerAt(LPARAM position) {
    const auto found = static_cast<DWORD>(::SendMessageW(m_list, LB_ITEMFROMPOINT, 0, position));
    // The high word is set when the point lies past the last entry.
    std::optional<std::size_t> row;
    if (HIWORD(found) == 0) {
        row = LOWORD(found);
    }
    if (row != m_row) {
        m_row = row;
        // The tip shown is of the entry left; the next one asks for its own text.
        ::SendMessageW(m_tooltip, TTM_POP, 0, 0);
    }
}

LRESULT CALLBACK ListHoverText::listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
    auto* hover = reinterpret_cast<ListHoverText*>(self);
    if (message == WM_MOUSEMOVE) {
        hover->pointerAt(lParam);
    } else if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(list, listProc, kSubclassId);
        hover->m_list = nullptr;
    }
    return ::DefSubclassProc(list, message, wParam, lParam);
}

} // namespace tallowbrook::win32
