// Test helper: holds a file (or folder) open for writing, sharing nothing, the
// way a program that is saving its settings would, until told to let go.
//
//   tallowbrook_hold_open FILE READY RELEASE [SECONDS]
//
// Creates READY once FILE is held, then waits until RELEASE exists (or SECONDS,
// 60 by default, have passed, so a forgotten helper cannot hang a test run).

#include "winapi/windows_prelude.h"
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kPollMilliseconds = 50;

} // namespace

int main() {
    // Wide arguments, whatever the code page.
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (args == nullptr || count < 4) {
        std::fputs("usage: tallowbrook_hold_open FILE READY RELEASE [SECONDS]\n", stderr);
        return 2;
    }
    const DWORD seconds = count > 4 ? static_cast<DWORD>(std::stoul(args[4])) : 60;

    // Backup semantics let it hold a folder too, which then cannot be listed.
    const HANDLE held = ::CreateFileW(args[1], GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "tallowbrook_hold_open: cannot open the file (error %lu)\n", ::GetLastError());
        return 1;
    }
    const HANDLE ready =
        ::CreateFileW(args[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "tallowbrook_hold_open: cannot create the ready marker (error %lu)\n",
                     ::GetLastError());
        ::CloseHandle(held);
        return 1;
    }
    ::CloseHandle(ready);
    const ULONGLONG deadline = ::GetTickCount64() + ULONGLONG{seconds} * 1000u;
    while (::GetFileAttributesW(args[3]) == INVALID_FILE_ATTRIBUTES && ::GetTickCount64() < deadline) {
        ::Sleep(kPollMilliseconds);
    }
    ::CloseHandle(held);
    ::LocalFree(args);
    return 0;
}
