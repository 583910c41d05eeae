#pragma once

// How each platform's primitives make a system call: in the fault tests' build
// the fault seam is asked first, and may fail the call or shorten a transfer.
// Included by the two platform files only.

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>

#include "files/fault_injection.h"
#include "files/file_error.h"

namespace tallowbrook::platform {

using fault::Primitive;

// One row of a platform's table of its error numbers: the cause they are shown as.
struct CauseOf {
    FileCause cause = FileCause::Generic;
    std::initializer_list<int> errors;
};

// The cause `table` gives `error`; an error it does not list is Generic.
template <typename Table> FileCause causeIn(const Table& table, int error) {
    const auto found = std::find_if(std::begin(table), std::end(table), [error](const CauseOf& row) {
        return std::find(row.errors.begin(), row.errors.end(), error) != row.errors.end();
    });
    return found == std::end(table) ? FileCause::Generic : found->cause;
}

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
