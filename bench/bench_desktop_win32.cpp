// Times the native dialog as a user drives it: a Merge from the press of the
// real "Merge" button to the real summary box on screen. The files come in
// through the open-file dialog's answer, as Get File takes them.
// bench/run_desktop.sh compares it with tallowbrook-cli.exe on the same files.
//
//   tallowbrook_bench_desktop_win32 FOLDER COUNT   (files settings0.dat ... from
//                                                  tallowbrook_bench_merge generate)
// Prints one line: gui-merge, count, seconds.

#include "winapi/windows_prelude.h"
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

#include "dialog/dialog_ids.h"
#include "tests/windows/fake_system.h"
#include "win32/converter_dialog.h"
#include "win32/message_box.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point g_boxUp{};
DWORD g_thread = 0;

// The summary box: visible, owned, captioned "Tallowbrook", with an OK button.
// A Win32 callback, so CALLBACK: on x86 it must be stdcall, which no lambda is.
BOOL CALLBACK matchSummary(HWND window, LPARAM data) {
    wchar_t caption[32] = {};
    ::GetWindowTextW(window, caption, 32);
    if (::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) != nullptr &&
        std::wcscmp(caption, L"Tallowbrook") == 0 && ::GetDlgItem(window, IDOK) != nullptr) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// The summary box of this thread, once it is up: noted and closed.
void CALLBACK closeSummary(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND found = nullptr;
    ::EnumThreadWindows(g_thread, matchSummary, reinterpret_cast<LPARAM>(&found));
    if (found != nullptr) {
        g_boxUp = Clock::now();
        ::KillTimer(nullptr, timer);
        ::SendMessageW(::GetDlgItem(found, IDOK), BM_CLICK, 0, 0);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: tallowbrook_bench_desktop_win32 FOLDER COUNT\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    g_thread = ::GetCurrentThreadId();
    const std::wstring folder = argv[1];
    const long count = std::wcstol(argv[2], nullptr, 10);
    tallowbrook::win32::test::Selection files;
    for (long i = 0; i < count; ++i) {
        files.push_back(folder + L"\\settings" + std::to_wstring(i) + L".dat");
    }
    tallowbrook::win32::test::FakeSystem system;
    system.chooser.queue(files);
    tallowbrook::win32::UiSeams seams = system.seams();
    seams.showBox = [](const tallowbrook::win32::BoxRequest& request) {
        ::SetTimer(nullptr, 0, 1, closeSummary);
        tallowbrook::win32::showSystemBox(request);
    };
    CConverterDialog dialog(seams);
    const HWND hwnd = dialog.Create(nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    ::SendMessageW(::GetDlgItem(hwnd, IDC_GET_FILE), BM_CLICK, 0, 0);
    if (::SendDlgItemMessageW(hwnd, IDC_FILE_LIST, LB_GETCOUNT, 0, 0) != count) {
        std::fwprintf(stderr, L"the files were not listed\n");
        return 1;
    }
    const Clock::time_point pressed = Clock::now();
    ::SendMessageW(::GetDlgItem(hwnd, IDC_MERGE), BM_CLICK, 0, 0);
    std::printf("gui-merge %ld %.4f\n", count, std::chrono::duration<double>(g_boxUp - pressed).count());
    return 0;
}
