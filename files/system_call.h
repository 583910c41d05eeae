#pragma once

// How each platform's primitives make a system call: in the fault tests' build
// the fault seam is asked first, and may fail the call or shorten a transfer.
// Included by the two platform files only.

#include <optional>

#include "files/fault_injection.h"

namespace tallowbrook::platform {

using fault::Primitive;

// Sets the error a failing call leaves behind: errno, or the thread's last error.
void setLastError(int error);

// Whether the call may go ahead: false, with the last error set, when the fault
// seam makes it fail. `count` is what a transfer may move; the seam can shorten it.
template <typename Count> bool goesAhead([[maybe_unused]] Primitive primitive, [[maybe_unused]] Count& count) {
#ifdef TALLOWBROOK_FAULT_INJECTION
    if (const std::optional<int> error = fault::applyFault(primitive, count)) {
        setLastError(*error);
        return false;
    }
#endif
    return true;
}

inline bool goesAhead(Primitive primitive) {
    int unused = 0;
    return goesAhead(primitive, unused);
}

} // namespace tallowbrook::platform
