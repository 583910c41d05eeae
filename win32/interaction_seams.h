#pragma once

// The places where the dialog waits for the user in a box of the system's:
// the open-file dialog and message boxes. They are functions so that tests
// can answer them without a real modal loop, while the code around them (the
// result buffer, its parsing, the box's style) is the program's own.

#include "winapi/windows_prelude.h"
#include <cderr.h>
#include <commdlg.h>

#include <functional>
#include <string>

namespace tallowbrook::win32 {

// A modal box with one "OK" button, owned by `owner`.
struct BoxRequest {
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    // Behind the box's details control; empty: none.
    std::wstring details;
    // MB_OK with the icon, if any (MB_ICONSTOP).
    UINT style = MB_OK;
};

struct UiSeams {
    // GetOpenFileNameW, and CommDlgExtendedError after it returned FALSE.
    std::function<BOOL(OPENFILENAMEW& request)> openFileName;
    std::function<DWORD()> openFileError;
    // Shows the box and returns when it is dismissed.
    std::function<void(const BoxRequest& request)> showBox;
};

// The system's open-file dialog and boxes.
UiSeams platformSeams();

} // namespace tallowbrook::win32
