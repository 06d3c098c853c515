// SPDX-License-Identifier: MIT
#pragma once
// The core's state flags.

namespace livrano {

struct StateFlags {
    bool AlphaLoaded = false;
    bool SpecLoading = false;
};

} // namespace livrano
