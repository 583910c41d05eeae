#pragma once

// A property that must hold for every input. A failure prints what broke and
// aborts, so libFuzzer keeps the input as a crash reproducer.

#include <cstdio>
#include <cstdlib>

namespace tallowbrook::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, what);
    std::abort();
}

} // namespace tallowbrook::fuzz

// A macro so the message names the broken condition and its line.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::tallowbrook::fuzz::fail(#condition, __FILE__, __LINE__);                             \
        }                                                                                          \
    } while (false)
