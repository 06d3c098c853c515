// SPDX-License-Identifier: MIT
#include "cli/exit_status.h"

namespace livrano::cli {

int exitStatus(const Status& status) {
    switch (status.kind()) {
    case Status::Kind::Ok:
        return kDone;
    case Status::Kind::Refused:
        return kUnusableInput;
    case Status::Kind::Locked:
        return kLocked;
    case Status::Kind::Failed:
        break;
    }
    return kFailed;
}

} // namespace livrano::cli
