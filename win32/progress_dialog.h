#pragma once

// The progress box of a long Merge run, from its own template: a line of text
// over a bar, counting the entries done of all. The run goes on on the same
// thread, so the box paints itself each time it is told, and the dialog it
// belongs to takes no input meanwhile.

#include "win32/dialog_base.h"

#include "dialog/dialog_view.h"

namespace tallowbrook::win32 {

class ProgressDialog final : public DialogBase {
public:
    // Opens the box over `owner` and disables it, as a modal box would.
    explicit ProgressDialog(HWND owner);
    // Closes the box and gives the owner its input back.
    ~ProgressDialog() override;
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    void show(const dialog::Progress& progress);

protected:
    BOOL OnInitDialog() override;
    // Neither Enter nor Esc ends a run.
    void OnOK() override {}
    void OnCancel() override {}

private:
    HWND m_owner;
};

} // namespace tallowbrook::win32
