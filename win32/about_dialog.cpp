#include "win32/about_dialog.h"

#include "dialog/dialog_ids.h"

CAboutDialog::CAboutDialog() : DialogBase(IDD_ABOUTBOX) {}

BOOL CAboutDialog::OnInitDialog() {
    centre();
    return TRUE;
}
