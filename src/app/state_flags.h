// SPDX-License-Identifier: MIT
#pragma once
// The core's state flags.

namespace livrano {

struct StateFlags {
    bool SpecLoading = false; // a specification is loading: the window draws no preview meanwhile
};

} // namespace livrano
