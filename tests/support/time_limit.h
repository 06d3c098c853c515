// SPDX-License-Identifier: MIT
#pragma once
// What the build under test is, and the bounds for the timing tests, in processor seconds so that
// other work on a loaded machine does not count.

namespace livrano::testkit {

// True under the address sanitizer, whose own reservations defeat an address-space limit and
// whose checks slow everything down.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

// The processor seconds allowed for work that an optimised build must finish within `optimised`
// seconds. The address sanitizer's build gets ten times as long, an unoptimised build (the
// coverage build) thirty: the hostile configuration's load took 0.3 s, 3.6 s and, with atomic
// counters, 6.6 s in them, where a load that follows the counts takes minutes in any.
constexpr double cpuSecondsAllowed(double optimised) {
    if (kUnderAddressSanitizer)
        return 10 * optimised;
#if defined(__OPTIMIZE__)
    return optimised;
#else
    return 30 * optimised;
#endif
}

} // namespace livrano::testkit
