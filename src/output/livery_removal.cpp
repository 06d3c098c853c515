// SPDX-License-Identifier: MIT
#include "output/livery_removal.h"

#include <string>

#include "app/checksum.h"
#include "output/aircraft_cfg.h"
#include "output/build_lock.h"
#include "output/variation_layout.h"
#include "output/work_journal.h"

namespace livrano {

Status RemoveLivery(const RepaintInputs& repaint, Frontend& frontend, std::string_view title, bool dryRun,
                    LiveryRemoval& removal, FileOperations& files) {
    BuildLock lock;
    if (Status s = lock.acquire(repaint); !s)
        return s;
    // What a killed command left is finished first: the plan must not take it for the livery's.
    removal.interrupted = findInterruptedWork(aircraftFolderPath(repaint), repaint.programFolder);
    if (!dryRun && !removal.interrupted.empty())
        removal.recovered = finishInterruptedWork(removal.interrupted, files);
    if (Status s = planLiveryRemoval(repaint, title, removal.plan); !s)
        return s;
    if (dryRun)
        return Status::Ok();
    const BuildPlan& plan = removal.plan;
    std::string bytes;
    if (Status s = ComposeAircraftCfg(repaint.extraFields, frontend, plan, bytes, files); !s)
        return s;
    const WorkJournal journal{sha256Hex(bytes), {}, plan.removals, plan.installedStamp.hash};
    // A failure leaves aircraft.cfg as it was, with every file, or (the replacement failing after
    // its rename) without the entry: the removals are then done as after a success.
    if (Status s = writeJournal(plan.aircraftFolder, journal, files); !s) {
        (void)settleWork(plan.aircraftFolder, journal, files);
        return s;
    }
    if (Status s = CommitAircraftCfg(plan, bytes, files); !s) {
        (void)settleWork(plan.aircraftFolder, journal, files);
        return s;
    }
    // What will not go is the painter's to see; the journal keeps it only when it cannot close.
    (void)completeWork(plan.aircraftFolder, journal, files);
    return Status::Ok();
}

} // namespace livrano
