#pragma once

// The system's message box for a BoxRequest: a task dialog when there are
// details to show on request, a plain message box otherwise.

#include "win32/interaction_seams.h"

namespace tallowbrook::win32 {

void showSystemBox(const BoxRequest& request);

} // namespace tallowbrook::win32
