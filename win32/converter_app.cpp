#include "win32/converter_app.h"

#include "winapi/windows_prelude.h"
#include <commctrl.h>

#include "win32/converter_dialog.h"

bool CConverterApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    // The dialogs' buttons, lists, chooser, progress bar and tooltip.
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);

    CConverterDialog dialog;
    // How it ended does not matter; a template that cannot be loaded ends the
    // program as quietly.
    dialog.DoModal(nullptr);
    return false;
}
