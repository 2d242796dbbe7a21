// The seconds elapsed since a reading of the performance counter, for the
// timing programs of bench/wine. Windows only.
#pragma once

#include <windows.h>

inline double SecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER frequency, end;
    ::QueryPerformanceCounter(&end);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}
