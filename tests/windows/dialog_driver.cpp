#include "tests/windows/dialog_driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "win32/message_box.h"

namespace tallowbrook::win32::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kPollMilliseconds = 5;

// What the polling timer works on; one box at a time on the one thread.
struct BoxWatch {
    const std::function<HWND()>* find;
    const std::function<void(HWND)>* inside;
    Clock::time_point deadline;
    UINT_PTR timer;
    bool handled;
};
BoxWatch* g_watch = nullptr;

void CALLBACK pollForBox(HWND, UINT, UINT_PTR, DWORD) {
    BoxWatch& watch = *g_watch;
    const HWND box = (*watch.find)();
    if (box != nullptr && !watch.handled) {
        watch.handled = true;
        (*watch.inside)(box);
    } else if (Clock::now() > watch.deadline) {
        if (box != nullptr) {
            ::EndDialog(box, IDABORT);
        }
        ::KillTimer(nullptr, watch.timer);
    }
}

struct OwnedWindowSearch {
    HWND owner;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK matchOwnedWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<OwnedWindowSearch*>(data);
    if (::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) == search.owner &&
        windowText(window) == *search.caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND findOwnedWindow(HWND owner, const std::wstring& caption) {
    OwnedWindowSearch search{owner, &caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), matchOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

bool whileBoxIsUp(const std::function<void()>& open, const std::function<HWND()>& find,
                  const std::function<void(HWND)>& inside, std::chrono::milliseconds limit) {
    BoxWatch watch{&find, &inside, Clock::now() + limit, 0, false};
    g_watch = &watch;
    watch.timer = ::SetTimer(nullptr, 0, kPollMilliseconds, pollForBox);
    open();
    ::KillTimer(nullptr, watch.timer);
    g_watch = nullptr;
    return watch.handled;
}

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > deadline) {
            return false;
        }
        MSG message;
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMilliseconds, QS_ALLINPUT);
        }
    }
    return true;
}

HWND focusIn(HWND box) {
    const HWND focus = ::GetFocus();
    return focus != nullptr && ::IsChild(box, focus) ? focus : box;
}

NativeDialog::NativeDialog()
    : dialog({system.seams().openFileName, system.seams().openFileError,
              [this](const BoxRequest& request) { record(request); }}) {
    hwnd = dialog.Create(nullptr);
    EXPECT_NE(hwnd, nullptr) << "template 102 could not be made into a dialog, error " << ::GetLastError();
}

void NativeDialog::record(const BoxRequest& request) {
    EXPECT_EQ(request.owner, hwnd) << "a box owned by the dialog";
    std::optional<dialog::test::ProgressShown> progress;
    if (const HWND box = findOwnedWindow(hwnd, L"Tallowbrook")) {
        const HWND bar = ::GetDlgItem(box, IDC_PROGRESS_BAR);
        progress = {converted(windowText(::GetDlgItem(box, IDC_PROGRESS_TEXT))),
                    static_cast<std::size_t>(::SendMessageW(bar, PBM_GETPOS, 0, 0)),
                    static_cast<std::size_t>(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0))};
        EXPECT_FALSE(::IsWindowEnabled(hwnd)) << "the dialog takes no input under its progress box";
    }
    m_boxes.push_back({converted(request.caption), converted(request.text), converted(request.details),
                       (request.style & MB_ICONSTOP) == MB_ICONSTOP, busy(), progress});
    system.seams().showBox(request);
    if (!m_realBoxesByKeyboard) {
        return;
    }
    // The system's own box, owned by the dialog with the caption and text
    // asked for, closed by a key in it or a click on its "OK".
    std::wstring shown;
    const std::wstring text = request.text.substr(0, request.text.find_last_not_of(L'\n') + 1);
    EXPECT_TRUE(whileBoxIsUp([&] { showSystemBox(request); },
                             [&] { return findOwnedWindow(request.owner, request.caption); },
                             [&](HWND box) {
                                 for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
                                      child = ::GetWindow(child, GW_HWNDNEXT)) {
                                     shown += windowText(child) + L"|";
                                 }
                                 EXPECT_FALSE(::IsWindowEnabled(hwnd)) << "the box is modal";
                                 if (*m_realBoxesByKeyboard) {
                                     ::PostMessageW(focusIn(box), WM_KEYDOWN, VK_RETURN, 0);
                                 } else {
                                     ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                                 }
                             }));
    EXPECT_NE(shown.find(text), std::wstring::npos) << converted(shown);
}

void NativeDialog::click(Control control) {
    const int id = static_cast<int>(control);
    const HWND button = ::GetDlgItem(hwnd, id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(::IsWindowVisible(button)) << "button " << id << " is not there to click";
    // The system's buttons report a click even when disabled; a user cannot make one.
    if (::IsWindowEnabled(button)) {
        ::SendMessageW(button, BM_CLICK, 0, 0); // pressed and let go under the mouse
    }
}

// As the shell hands a drop over: the names in one block, posted.
void NativeDialog::drop(const Paths& paths) {
    std::wstring names;
    for (const std::string& path : paths) {
        names += converted(path) + L'\0';
    }
    names += L'\0';
    const HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* block = static_cast<DROPFILES*>(::GlobalLock(memory));
    block->pFiles = sizeof(DROPFILES);
    block->fWide = TRUE;
    std::memcpy(block + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_TRUE(pumpUntil([this] {
        MSG waiting;
        return !::PeekMessageW(&waiting, hwnd, WM_DROPFILES, WM_DROPFILES, PM_NOREMOVE);
    }));
}

// The pointer over the entry, then the tip asking the dialog for its text.
std::string NativeDialog::hoverText(std::size_t row) {
    const HWND list = ::GetDlgItem(hwnd, IDC_FILE_LIST);
    const HWND tip = dialog.hoverTip();
    EXPECT_NE(tip, nullptr);
    RECT area{};
    ::SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&area));
    ::SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(area.left + 2, (area.top + area.bottom) / 2));
    NMTTDISPINFOW info{};
    info.hdr = {tip, reinterpret_cast<UINT_PTR>(list), TTN_GETDISPINFOW};
    ::SendMessageW(hwnd, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    return info.lpszText != nullptr ? converted(info.lpszText) : "(none)";
}

Paths NativeDialog::listed() {
    const HWND list = ::GetDlgItem(hwnd, IDC_FILE_LIST);
    Paths entries;
    const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(converted(text));
    }
    return entries;
}

Paths NativeDialog::chooserLabels() {
    Paths labels;
    const auto count = ::SendDlgItemMessageW(hwnd, IDC_CHOOSER, CB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        wchar_t text[64] = {};
        ::SendDlgItemMessageW(hwnd, IDC_CHOOSER, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        labels.push_back(converted(text));
    }
    return labels;
}

// The dialog keeps the wait cursor over itself for as long as a run goes;
// it takes input again after.
bool NativeDialog::busy() {
    return (::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), HTCLIENT) == TRUE &&
            ::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT)) ||
           !::IsWindowEnabled(hwnd);
}

// A key pressed and let go by the user, through the dialog's own loop: it goes
// to the control with the focus, and there must be one.
void NativeDialog::press(Key key) {
    constexpr WPARAM kKeys[] = {VK_TAB, VK_SPACE, VK_UP, VK_RETURN, VK_ESCAPE};
    const HWND focus = ::GetFocus();
    ASSERT_TRUE(focus != nullptr && ::IsChild(hwnd, focus)) << "the keyboard reaches no control";
    for (const UINT message : {UINT{WM_KEYDOWN}, UINT{WM_KEYUP}}) {
        MSG msg{focus,
                message,
                kKeys[static_cast<int>(key)],
                message == WM_KEYUP ? LPARAM{static_cast<LONG>(0xC0000001)} : 1,
                0,
                {}};
        if (!::IsDialogMessageW(hwnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    MSG pending;
    while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&pending);
        ::DispatchMessageW(&pending);
    }
}

// A drop-down's field counts as the drop-down.
Control NativeDialog::focused() {
    HWND focus = ::GetFocus();
    if (focus == nullptr || !::IsChild(hwnd, focus)) {
        return Control::None;
    }
    if (::GetParent(focus) != hwnd) {
        focus = ::GetParent(focus);
    }
    return static_cast<Control>(::GetDlgCtrlID(focus));
}

// The click on the field takes the focus; the click on the entry in the
// dropped list selects it and tells the dialog.
void NativeDialog::chooseByMouse(std::size_t row) {
    const HWND chooser = ::GetDlgItem(hwnd, IDC_CHOOSER);
    ::SetFocus(chooser);
    ::SendMessageW(chooser, CB_SETCURSEL, row, 0);
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_CHOOSER, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(chooser));
}

// As the system menu's entry sends it.
bool NativeDialog::openAndCloseAbout(bool byKeyboard) {
    return whileBoxIsUp([this] { ::SendMessageW(hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); },
                        [this] { return findOwnedWindow(hwnd, L"About Tallowbrook"); },
                        [byKeyboard](HWND box) {
                            if (byKeyboard) {
                                ::PostMessageW(focusIn(box), WM_KEYDOWN, VK_ESCAPE, 0);
                            } else {
                                ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                            }
                        });
}

std::optional<bool> NativeDialog::waitForEnd() {
    if (!pumpUntil([this] { return dialog.endCode().has_value(); })) {
        return std::nullopt;
    }
    EXPECT_FALSE(::IsWindow(hwnd)) << "the dialog is gone";
    return dialog.endCode() == IDOK;
}

} // namespace tallowbrook::win32::test

namespace tallowbrook::dialog::test {

std::unique_ptr<ScenarioDriver> makeDriver() {
    return std::make_unique<win32::test::NativeDialog>();
}
std::unique_ptr<WindowDriver> makeWindowDriver() {
    return std::make_unique<win32::test::NativeDialog>();
}

} // namespace tallowbrook::dialog::test
