#pragma once

// The frame the dialogs ask the window manager for: a title, a close box and
// the window menu, no minimise or maximise box. CustomizeWindowHint makes Qt
// pass exactly these on instead of adding the platform's defaults.

#include <Qt>

namespace tallowbrook::app {

inline constexpr Qt::WindowFlags kDialogWindowFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                                      Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                      Qt::WindowCloseButtonHint;

} // namespace tallowbrook::app
