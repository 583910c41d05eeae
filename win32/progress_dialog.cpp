#include "win32/progress_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <limits>

#include "winapi/utf16.h"
#include "dialog/dialog_ids.h"

namespace tallowbrook::win32 {

namespace {

int clampToInt(std::size_t value) {
    constexpr auto kLargest = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(std::min(value, kLargest));
}

// Handles what keeps the boxes painted and the system's own sent messages,
// but no input and nothing posted: the run must not change under itself.
void paintPending() {
    // Bounded, in case a window keeps asking to be painted.
    constexpr int kMostPaints = 64;
    MSG message;
    for (int i = 0; i < kMostPaints && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT);
         ++i) {
        ::DispatchMessageW(&message);
    }
}

} // namespace

ProgressDialog::ProgressDialog(HWND owner) : DialogBase(IDD_PROGRESS), m_owner(owner) {
    if (Create(owner) != nullptr && m_owner != nullptr) {
        ::EnableWindow(m_owner, FALSE);
    }
}

ProgressDialog::~ProgressDialog() {
    // The owner first, so that activation returns to it and not elsewhere.
    if (m_owner != nullptr) {
        ::EnableWindow(m_owner, TRUE);
    }
}

BOOL ProgressDialog::OnInitDialog() {
    centre();
    ::ShowWindow(hwnd(), SW_SHOW);
    return FALSE;
}

void ProgressDialog::show(const dialog::Progress& progress) {
    if (hwnd() == nullptr) {
        return;
    }
    const std::wstring text = winapi::toWide(progress.text).value_or(std::wstring());
    ::SetDlgItemTextW(hwnd(), IDC_PROGRESS_TEXT, text.c_str());
    sendItem(IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, clampToInt(progress.total));
    sendItem(IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(clampToInt(progress.done)));
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    paintPending();
}

} // namespace tallowbrook::win32
