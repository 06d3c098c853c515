// SPDX-License-Identifier: MIT
#pragma once
// Processor time as the benchmarks count it: user and system together, so that what the kernel
// does for a program (page faults, writing files) is counted with it.

#include <sys/resource.h>

namespace livrano::bench {

// Seconds of processor time so far of `who` (RUSAGE_SELF, or RUSAGE_CHILDREN for the programs
// it ran and waited for).
inline double processorSeconds(int who = RUSAGE_SELF) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace livrano::bench
