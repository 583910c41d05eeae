#pragma once

// The About box (template 100): the icon, the program's name and version and
// "OK"; Enter, Esc and the close box end it too.

#include "win32/dialog_base.h"

class CAboutDialog final : public tallowbrook::win32::DialogBase {
public:
    CAboutDialog();

protected:
    BOOL OnInitDialog() override;
};
