#include "win32/message_box.h"

#include <commctrl.h>

namespace tallowbrook::win32 {

namespace {

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Looked up, not linked: the task dialog exists only in common controls 6,
// and without it the program must still start and fall back to a plain box.
TaskDialogIndirectFunction taskDialogIndirect() {
    const HMODULE controls = ::GetModuleHandleW(L"comctl32.dll");
    if (controls == nullptr) {
        return nullptr;
    }
    const FARPROC found = ::GetProcAddress(controls, "TaskDialogIndirect");
    // Through void (*)(), which converts to any function pointer without a warning.
    return reinterpret_cast<TaskDialogIndirectFunction>(reinterpret_cast<void (*)()>(found));
}

bool showTaskDialog(const BoxRequest& request) {
    const TaskDialogIndirectFunction show = taskDialogIndirect();
    if (show == nullptr) {
        return false;
    }
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.hwndParent = request.owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_OK_BUTTON;
    config.pszWindowTitle = request.caption.c_str();
    if ((request.style & MB_ICONMASK) == MB_ICONSTOP) {
        config.pszMainIcon = TD_ERROR_ICON;
    }
    config.pszContent = request.text.c_str();
    config.pszExpandedInformation = request.details.c_str();
    config.pszCollapsedControlText = L"Show details";
    config.pszExpandedControlText = L"Hide details";
    return SUCCEEDED(show(&config, nullptr, nullptr, nullptr));
}

} // namespace

void showSystemBox(const BoxRequest& request) {
    if (!request.details.empty() && showTaskDialog(request)) {
        return;
    }
    // Without the task dialog the details stay unshown: the text is the message.
    ::MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.style);
}

} // namespace tallowbrook::win32
