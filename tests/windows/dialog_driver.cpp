#include "tests/windows/dialog_driver.h"

#include "dialog/dialog_ids.h"

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

} // namespace

namespace {
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

void pressKey(HWND dialog, WPARAM key) {
    HWND focus = ::GetFocus();
    if (focus == nullptr || (focus != dialog && !::IsChild(dialog, focus))) {
        focus = ::GetNextDlgTabItem(dialog, nullptr, FALSE);
    }
    MSG message{focus, WM_KEYDOWN, key, 0, 0, {}};
    ::IsDialogMessageW(dialog, &message);
}

void DialogTest::SetUp() {
    m_hwnd = m_dialog.Create(nullptr);
    ASSERT_NE(m_hwnd, nullptr) << "template 102 could not be made into a dialog, error " << ::GetLastError();
}

void DialogTest::click(int id) {
    const HWND button = ::GetDlgItem(m_hwnd, id);
    ASSERT_NE(button, nullptr) << id;
    // The system's buttons report a click even when disabled; a user cannot make one.
    ASSERT_TRUE(::IsWindowVisible(button) && ::IsWindowEnabled(button))
        << "button " << id << " is not usable";
    ::SendMessageW(button, BM_CLICK, 0, 0);
}

void DialogTest::getFile(std::optional<Selection> chosen) {
    m_system.answers.push_back(std::move(chosen));
    click(IDC_GET_FILE);
}

std::vector<std::wstring> DialogTest::listed() const {
    const HWND list = ::GetDlgItem(m_hwnd, IDC_FILE_LIST);
    std::vector<std::wstring> entries;
    const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(text);
    }
    return entries;
}

} // namespace tallowbrook::win32::test
