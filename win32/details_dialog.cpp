#include "win32/details_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "dialog/dialog_ids.h"
#include "dialog/dialog_layout.h"

namespace tallowbrook::win32 {

namespace {

namespace layout = tallowbrook::dialog::layout;

// The field's rectangle in the box's client area, in pixels.
RECT fieldPlace(HWND box) {
    RECT place{layout::kDetailsField.x, layout::kDetailsField.y, layout::kDetailsField.width,
               layout::kDetailsField.height};
    ::MapDialogRect(box, &place);
    return {place.left, place.top, place.left + place.right, place.top + place.bottom};
}

// The margin below the field, as on the box's other sides.
int bottomMargin(HWND box) {
    RECT margin{0, 0, 0, layout::kDetailsText.y};
    ::MapDialogRect(box, &margin);
    return margin.bottom;
}

RECT workArea(HWND box) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor)) {
        RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        return screen;
    }
    return monitor.rcWork;
}

// The edit control breaks lines at "\r\n" only.
std::wstring withCarriageReturns(const std::wstring& text) {
    std::wstring lines;
    lines.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), L'\n')));
    for (const wchar_t c : text) {
        if (c == L'\n') {
            lines += L'\r';
        }
        lines += c;
    }
    return lines;
}

// Ctrl+A selects all the details, for copying, as the system's newer edit
// controls do and older ones (and Wine's) do not.
LRESULT CALLBACK selectAllOnCtrlA(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR) {
    constexpr WPARAM kCtrlA = 0x01; // the character Ctrl+A types
    if (message == WM_CHAR && wParam == kCtrlA) {
        ::SendMessageW(field, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(field, selectAllOnCtrlA, id);
    }
    return ::DefSubclassProc(field, message, wParam, lParam);
}

} // namespace

DetailsDialog::DetailsDialog(const BoxRequest& request) : DialogBase(IDD_DETAILS), m_request(request) {}

BOOL DetailsDialog::OnInitDialog() {
    ::SetWindowTextW(hwnd(), m_request.caption.c_str());
    ::SetDlgItemTextW(hwnd(), IDC_DETAILS_TEXT, m_request.text.c_str());
    ::SetWindowSubclass(item(IDC_DETAILS_FIELD), selectAllOnCtrlA, 1, 0);
    RECT frame{};
    ::GetWindowRect(hwnd(), &frame);
    m_collapsedHeight = frame.bottom - frame.top;
    centre();
    return TRUE; // the focus on "OK", the first control with a tab stop
}

bool DetailsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_DETAILS_TOGGLE && HIWORD(wParam) == BN_CLICKED) {
        setExpanded(!m_expanded);
        return true;
    }
    return false;
}

void DetailsDialog::setExpanded(bool expanded) {
    m_expanded = expanded;
    const HWND field = item(IDC_DETAILS_FIELD);
    RECT frame{};
    ::GetWindowRect(hwnd(), &frame);
    const int width = frame.right - frame.left;
    if (!expanded) {
        if (::GetFocus() == field) {
            ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(IDC_DETAILS_TOGGLE)), TRUE);
        }
        ::ShowWindow(field, SW_HIDE);
        ::SetWindowPos(hwnd(), nullptr, 0, 0, width, m_collapsedHeight, SWP_NOMOVE | SWP_NOZORDER);
        ::SetDlgItemTextW(hwnd(), IDC_DETAILS_TOGGLE, L"" TB_TEXT_DETAILS_SHOW);
        return;
    }
    if (!m_filled) {
        // Filled when first asked for: laying out thousands of lines would
        // hold up the box for nothing when no one looks at them. No limit but
        // memory: the details of thousands of entries are long.
        m_filled = true;
        ::SendMessageW(field, EM_SETLIMITTEXT, 0, 0);
        ::SetWindowTextW(field, withCarriageReturns(m_request.details).c_str());
    }
    // As tall as the template says, less what the work area lacks; the box
    // moves up if its bottom would leave the work area.
    const RECT area = workArea(hwnd());
    const RECT place = fieldPlace(hwnd());
    const int margin = bottomMargin(hwnd());
    int fieldHeight = place.bottom - place.top;
    int height = m_collapsedHeight + fieldHeight + margin;
    const int room = area.bottom - area.top;
    if (height > room) {
        fieldHeight = std::max(fieldHeight - (height - room), 0);
        height = room;
    }
    const LONG top = std::max(area.top, std::min(frame.top, area.bottom - height));
    ::SetWindowPos(hwnd(), nullptr, frame.left, top, width, height, SWP_NOZORDER);
    ::MoveWindow(field, place.left, place.top, place.right - place.left, fieldHeight, TRUE);
    ::ShowWindow(field, SW_SHOW);
    ::SetDlgItemTextW(hwnd(), IDC_DETAILS_TOGGLE, L"" TB_TEXT_DETAILS_HIDE);
}

} // namespace tallowbrook::win32
