#pragma once

// A dialog from a resource template, bound to a C++ object: one static dialog
// procedure finds the object and hands it the message. Run modally (the
// program) or created modeless (the tests, which drive it with messages).

#include "winapi/windows_prelude.h"

#include <exception>
#include <optional>

namespace tallowbrook::win32 {

class DialogBase {
public:
    explicit DialogBase(int templateId) : m_templateId(templateId) {}
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Runs the dialog until it ends; its end code, or -1 when the template
    // could not be loaded.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog and returns at once; null when it could not be made.
    // Ending it destroys the window.
    HWND Create(HWND owner);

    HWND hwnd() const { return m_hwnd; }
    // The code the dialog ended with, once it has ended.
    std::optional<INT_PTR> endCode() const { return m_endCode; }

protected:
    // After the controls exist; true lets the system put the focus on the
    // first control with a tab stop.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Any other message: true when handled, with `result` as the dialog
    // procedure's answer. Unhandled messages get the system's defaults.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Command 1 (the default button, Enter) and command 2 (Esc, the close box).
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // What escaped a handler; it must not unwind through the system's code.
    virtual void OnException(const std::exception&) {}

    void End(INT_PTR code);
    // Centres the dialog over its owner, or on its monitor's work area when
    // it has none to show over.
    void centre() const;
    HWND item(int id) const { return ::GetDlgItem(m_hwnd, id); }
    LRESULT sendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendDlgItemMessageW(m_hwnd, id, message, wParam, lParam);
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int m_templateId;
    HWND m_hwnd = nullptr;
    bool m_modal = false;
    std::optional<INT_PTR> m_endCode;
};

// The module that holds the program's resources.
HINSTANCE resourceModule();

} // namespace tallowbrook::win32
