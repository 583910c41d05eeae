#pragma once

// Drives the native main dialog in-process the way the system and the user
// would: the real template and dialog procedure, created modeless, input as
// the platform's messages, and modal boxes closed from inside their own loop.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "dialog/dialog_ids.h"
#include "tests/windows/fake_system.h"
#include "win32/converter_dialog.h"

namespace tallowbrook::win32::test {

// A top-level window of this thread with `caption`, owned by `owner`; null when none.
HWND findOwnedWindow(HWND owner, const std::wstring& caption);
std::wstring windowText(HWND window);
std::wstring className(HWND window);

// Runs `open`, which shows a modal box and returns when it ends. From inside
// the box's loop, polls for `find()` every few milliseconds; once it is there
// calls `inside(box)`, which must end it. Past `limit` the box is ended by
// force. True when `inside` ran.
bool whileBoxIsUp(const std::function<void()>& open, const std::function<HWND()>& find,
                  const std::function<void(HWND box)>& inside,
                  std::chrono::milliseconds limit = std::chrono::seconds(10));

// Handles what is waiting for this thread until `done()` or `limit`; true when done.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5));

// A key as the dialog's own loop would see it from the focused control.
void pressKey(HWND dialog, WPARAM key);

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A click the user could make: the button must be there, visible and enabled.
    void click(int id);
    // "Get File" with the user picking `chosen` (nothing: cancel).
    void getFile(std::optional<Selection> chosen);
    std::vector<std::wstring> listed() const;
    LRESULT chooser() const { return ::SendDlgItemMessageW(m_hwnd, IDC_CHOOSER, CB_GETCURSEL, 0, 0); }
    void choose(LRESULT index) {
        ::SendDlgItemMessageW(m_hwnd, IDC_CHOOSER, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    bool mergeEnabled() const { return ::IsWindowEnabled(::GetDlgItem(m_hwnd, IDC_MERGE)) != FALSE; }

    FakeSystem m_system;
    CConverterDialog m_dialog{m_system.seams()};
    HWND m_hwnd = nullptr;
};

} // namespace tallowbrook::win32::test
