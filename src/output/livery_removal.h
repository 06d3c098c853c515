// SPDX-License-Identifier: MIT
#pragma once
// Taking one added livery out of an aircraft, as a failed attempt is thrown away: its entry
// first, so that aircraft.cfg never names a file that is gone, then the files only it used.

#include <string_view>

#include "app/frontend.h"
#include "app/status.h"
#include "output/build_plan.h"
#include "output/file_operations.h"
#include "output/interrupted_work.h"
#include "output/repaint_inputs.h"

namespace livrano {

struct LiveryRemoval {
    InterruptedWork interrupted;     // what an interrupted run had left, found under the lock
    Status recovered = Status::Ok(); // finishing it: why not all of it could be
    BuildPlan plan;                  // planLiveryRemoval's, once made (plan.replaced is set then)
};

// Takes the build lock, finishes what an interrupted run left in the aircraft folder (a dry run
// only finds it), plans taking out the livery titled `title` (planLiveryRemoval) and, unless
// `dryRun`, carries the plan out: aircraft.cfg is rewritten without the entry (the old file kept
// as Aircraft.bak), then the files and folders only the livery used are removed. A work journal
// lies beside them from before the rewrite until the last removal, so that the next command
// finishes the removals of one that was killed. Fails, writing nothing, when the lock is held or
// the plan refused, and as the rewrite does (aircraft.cfg as it was, nothing removed); a file that
// will not go is no failure: it is still there to see once this returns.
Status RemoveLivery(const RepaintInputs& repaint, Frontend& frontend, std::string_view title, bool dryRun,
                    LiveryRemoval& removal, FileOperations& files = systemFileOperations());

} // namespace livrano
