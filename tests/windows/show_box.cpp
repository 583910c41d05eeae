// Shows one of the desktop program's boxes on its own, as a user meets it,
// for screenshots and trying by hand:
//   tallowbrook_show_box about
//   tallowbrook_show_box details N   (the summary of a run over N files)

#include "winapi/windows_prelude.h"
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "win32/about_dialog.h"
#include "win32/message_box.h"

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    const std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"about") {
        CAboutDialog about;
        return about.DoModal(nullptr) == IDOK ? 0 : 1;
    }
    if (what == L"details" && argc > 2) {
        const long count = std::wcstol(argv[2], nullptr, 10);
        std::wstring details;
        for (long i = 0; i < count; ++i) {
            wchar_t line[200];
            std::swprintf(line, 200,
                          L"C:\\Users\\someone\\Documents\\engraver\\cfg%04ld.dat: Version 6.04, written as "
                          L"cfg%04ld_802.dat\n",
                          i, i);
            details += line;
        }
        tallowbrook::win32::showSystemBox(
            {nullptr, L"Tallowbrook", L"Done! Merged " + std::to_wstring(count) + L" configuration files.\n",
             details, MB_OK});
        return 0;
    }
    std::fwprintf(stderr, L"usage: tallowbrook_show_box about | details N\n");
    return 2;
}
