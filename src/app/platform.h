#pragma once
// The few calls that differ between Windows and POSIX systems live here, and only here.

#include <cstdio>

namespace livrano {

// True when the stream writes to an interactive terminal (progress bars redraw in place).
bool isTerminal(std::FILE* stream);

} // namespace livrano
