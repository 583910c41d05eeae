#pragma once

// The one way this project includes the Windows headers: without the min/max
// macros that break std::min and std::max, and without the rarely used parts.

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
