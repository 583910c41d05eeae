#include "win32/dialog_base.h"

namespace tallowbrook::win32 {

HINSTANCE resourceModule() {
    return ::GetModuleHandleW(nullptr);
}

DialogBase::~DialogBase() {
    if (m_hwnd != nullptr && !m_modal) {
        ::DestroyWindow(m_hwnd);
    }
}

INT_PTR DialogBase::DoModal(HWND owner) {
    m_modal = true;
    m_endCode.reset();
    return ::DialogBoxParamW(resourceModule(), MAKEINTRESOURCEW(m_templateId), owner, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

HWND DialogBase::Create(HWND owner) {
    m_modal = false;
    m_endCode.reset();
    return ::CreateDialogParamW(resourceModule(), MAKEINTRESOURCEW(m_templateId), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

void DialogBase::End(INT_PTR code) {
    m_endCode = code;
    if (m_modal) {
        ::EndDialog(m_hwnd, code);
    } else {
        ::DestroyWindow(m_hwnd);
    }
}

void DialogBase::centre() const {
    RECT box{};
    if (!::GetWindowRect(m_hwnd, &box)) {
        return;
    }
    RECT area{};
    const HWND owner = ::GetWindow(m_hwnd, GW_OWNER);
    if (owner == nullptr || !::IsWindowVisible(owner) || ::IsIconic(owner) ||
        !::GetWindowRect(owner, &area)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (!::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            return;
        }
        area = monitor.rcWork;
    }
    const int x = area.left + ((area.right - area.left) - (box.right - box.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (box.bottom - box.top)) / 2;
    ::SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool DialogBase::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<DialogBase*>(lParam);
        dialog->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    // Messages that come before WM_INITDIALOG (the font, the frame) get the defaults.
    if (dialog == nullptr) {
        return FALSE;
    }
    try {
        return dialog->dispatch(message, wParam, lParam);
    } catch (const std::exception& error) {
        dialog->OnException(error);
    } catch (...) {
        dialog->OnException(std::exception());
    }
    return TRUE;
}

INT_PTR DialogBase::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        // Buttons, Enter and Esc; the close box arrives as IDCANCEL too.
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        break;
    case WM_NCDESTROY:
        ::SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        m_hwnd = nullptr;
        return FALSE;
    default:
        break;
    }
    INT_PTR result = FALSE;
    return OnMessage(message, wParam, lParam, result) ? result : FALSE;
}

} // namespace tallowbrook::win32
