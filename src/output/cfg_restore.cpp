// SPDX-License-Identifier: MIT
#include "output/cfg_restore.h"

#include <system_error>

#include "app/code_page.h"
#include "output/aircraft_cfg.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

Status RestoreAircraftCfg(const RepaintInputs& repaint, bool original, FileOperations& files) {
    const fs::path aircraft = aircraftFolderPath(repaint);
    const fs::path installed = existingEntry(aircraft, "Aircraft.cfg");
    const fs::path backup = existingEntry(aircraft, "Aircraft.bak");
    const fs::path kept = original ? existingEntry(aircraft, kOriginalAircraftCfg) : backup;
    std::error_code ec;
    if (!fs::exists(kept, ec))
        return Status::Refused("There is no " + utf8FromPath(kept) + " to restore.");
    if (Status s = checkInstalledCfgWritable(installed); !s)
        return s;
    std::string keptBytes;
    if (Status s = files.readFile(kept, keptBytes); !s)
        return Status::Refused(s.message(), s.detail());
    std::string current;
    const bool haveCurrent = fs::exists(installed, ec);
    if (haveCurrent) {
        if (Status s = files.readFile(installed, current); !s)
            return Status::Refused(s.message(), s.detail());
    }
    if (Status s = files.replaceFile(installed, keptBytes); !s)
        return s;
    if (!haveCurrent)
        return Status::Ok();
    if (Status s = files.replaceFile(backup, current); !s) {
        // The file that was in place must not be lost: it goes back.
        files.replaceFile(installed, current);
        return s;
    }
    return Status::Ok();
}

} // namespace livrano
