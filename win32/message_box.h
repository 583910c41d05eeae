#pragma once

// The box for a BoxRequest: the program's own box with details on request
// (template 104) when there are details, the system's message box otherwise.

#include "win32/interaction_seams.h"

namespace tallowbrook::win32 {

void showSystemBox(const BoxRequest& request);

} // namespace tallowbrook::win32
