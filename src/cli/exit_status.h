// SPDX-License-Identifier: MIT
#pragma once
// The exit status of every command, from the kind of what ended it and never from a message's
// text, so that a script can tell a build to repeat later from one to fix first. A build and its
// --dry-run end with the same status.

#include "app/status.h"

namespace livrano::cli {

constexpr int kDone = 0;
constexpr int kFailed = 1;        // a step failed after writing began, or a build left textures out
constexpr int kUnusableInput = 2; // usage, unreadable or unusable inputs, every refusal of a plan
constexpr int kLocked = 3;        // another build holds the lock: try again later

// The exit status that `status` ends a command with: kDone when it is ok.
int exitStatus(const Status& status);

} // namespace livrano::cli
