#pragma once

// A property that must hold for every input. A failure prints what broke and
// aborts, so libFuzzer keeps the input as a crash reproducer.

#include <cstdio>
#include <cstdlib>

// A macro so the message names the broken condition and its line.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #condition);          \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
