#pragma once
#ifdef _WIN32

// The Windows API as the program's Windows files use it: without the min and max macros, which
// would break std::min and std::max, and without the rarely used parts.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#endif
