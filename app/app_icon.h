#pragma once

#include <QIcon>

namespace tallowbrook::app {

// The program's icon in 16, 32 and 48 pixels, drawn from
// resources/tallowbrook.svg by resources/make-icons.py.
QIcon appIcon();

} // namespace tallowbrook::app
