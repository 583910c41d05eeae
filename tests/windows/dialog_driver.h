#pragma once

// Drives the native main dialog in-process the way the system and the user
// would: the real template and dialog procedure, created modeless, input as
// the platform's messages, and modal boxes closed from inside their own loop.
// It is the dialog scenarios' driver on Windows, and the native-only tests'
// fixture.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "dialog/dialog_ids.h"
#include "tests/dialog/scenario_driver.h"
#include "tests/windows/fake_system.h"
#include "win32/converter_dialog.h"
#include "winapi/utf16.h"

namespace tallowbrook::win32::test {

using dialog::test::Box;
using dialog::test::Control;
using dialog::test::Key;
using dialog::test::Paths;

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

// Where a key pressed in `box` goes, as the box's own loop sees it.
HWND focusIn(HWND box);

// UTF-8 and UTF-16, each way, one text or several.
inline std::string converted(const std::wstring& text) {
    return winapi::toUtf8(text);
}
inline std::wstring converted(const std::string& text) {
    return winapi::toWide(text).value();
}
template <typename Text> auto converted(const std::vector<Text>& texts) {
    std::vector<decltype(converted(texts.front()))> result;
    for (const Text& text : texts) {
        result.push_back(converted(text));
    }
    return result;
}

class NativeDialog final : public dialog::test::WindowDriver {
public:
    NativeDialog();

    // A click the user could make: the button must be there and visible; a
    // disabled one takes no click.
    void click(Control button) override;
    void answerOpenFile(std::optional<Paths> chosen) override {
        system.chooser.queue(chosen ? std::optional(converted(*chosen)) : std::nullopt);
    }
    Paths offeredNames() override { return converted(system.chooser.offered); }
    void drop(const Paths& paths) override;
    std::string hoverText(std::size_t row) override;
    Paths listed() override;
    Paths chooserLabels() override;
    std::optional<std::size_t> chosen() override {
        const LRESULT row = ::SendDlgItemMessageW(hwnd, IDC_CHOOSER, CB_GETCURSEL, 0, 0);
        return row == CB_ERR ? std::nullopt : std::optional<std::size_t>(row);
    }
    void choose(std::optional<std::size_t> row) override {
        ::SendDlgItemMessageW(hwnd, IDC_CHOOSER, CB_SETCURSEL, row ? *row : static_cast<WPARAM>(-1), 0);
    }
    bool mergeEnabled() override { return ::IsWindowEnabled(::GetDlgItem(hwnd, IDC_MERGE)) != FALSE; }
    bool busy() override;
    bool progressShown() override { return findOwnedWindow(hwnd, L"Tallowbrook") != nullptr; }
    const std::vector<Box>& boxes() override { return m_boxes; }
    void setProgressDelay(std::chrono::milliseconds delay) override { dialog.setProgressDelay(delay); }
    std::string programName() override { return "tallowbrook_win32_tests"; }

    void show() override { ::ShowWindow(hwnd, SW_SHOW); }
    void press(Key key) override;
    Control focused() override;
    Control defaultButton() override {
        return static_cast<Control>(LOWORD(::SendMessageW(hwnd, DM_GETDEFID, 0, 0)));
    }
    bool drawnAsDefault(Control button) override {
        const int id = static_cast<int>(button);
        return (::SendDlgItemMessageW(hwnd, id, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    }
    void chooseByMouse(std::size_t row) override;
    void useRealBoxes(bool byKeyboard) override { m_realBoxesByKeyboard = byKeyboard; }
    bool openAndCloseAbout(bool byKeyboard) override;
    void closeBox() override { ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }
    std::optional<bool> waitForEnd() override;

    FakeSystem system;
    CConverterDialog dialog;
    HWND hwnd = nullptr;

private:
    void record(const BoxRequest& request);

    std::vector<Box> m_boxes;
    std::optional<bool> m_realBoxesByKeyboard;
};

// The native-only tests' fixture: a fresh dialog for each.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(d.hwnd, nullptr); }

    NativeDialog d;
};

} // namespace tallowbrook::win32::test
