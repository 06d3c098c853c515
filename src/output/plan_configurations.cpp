// SPDX-License-Identifier: MIT
#include "output/plan_configurations.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "aircraft/profile.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/plan_report.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// True for an entry titled `title`, case and surrounding blanks ignored.
auto titled(std::string_view title) {
    return [target = trim(toUpper(title))](const FltsimEntry& e) { return trim(toUpper(e.title)) == target; };
}

// The title must read back as written, or a rebuild never finds it and adds an entry each time.
// So must every name the user typed: a reader drops enclosing quotation marks, and texture='AB'
// would name a folder the build never made (and a rebuild would remove).
Status checkReadsBack(const std::string& title, const FltsimEntry& entry) {
    if (!checkFltsimValue("title", title))
        return Status::Refused(
            "The title " + shortQuoted(title) +
                " cannot be read back from aircraft.cfg: shorten the variation.",
            "The title \"" + utf8FromWindows1252(title) +
                "\" cannot be read back from aircraft.cfg (at most " + std::to_string(kIniStringChars) +
                " characters, no enclosing quotation marks); shorten the variation's name.");
    const std::pair<const char*, const std::string*> typed[] = {{"ui_variation", &entry.ui_variation},
                                                                {"texture", &entry.texture},
                                                                {"model", &entry.model},
                                                                {"atc_id", &entry.atc_id},
                                                                {"atc_airline", &entry.atc_airline}};
    for (const auto& [key, value] : typed) {
        if (Status s = checkFltsimValue(key, *value); !s)
            return s;
    }
    return Status::Ok();
}

} // namespace

Status readConfigurations(const RepaintInputs& repaint, BuildPlan& plan) {
    plan.installedCfg = existingEntry(plan.aircraftFolder, "Aircraft.cfg");
    plan.backupCfg = existingEntry(plan.aircraftFolder, "Aircraft.bak");
    plan.originalCfg = existingEntry(plan.aircraftFolder, kOriginalAircraftCfg);
    plan.dataCfg = existingEntry(plan.dataFolder, "Aircraft.cfg");
    // Without the clean copy no new file can be composed; better to find out before the livery
    // of the same title gives way.
    std::optional<std::string> data = readFileBytes(plan.dataCfg);
    if (!data)
        return Status::Refused("The program's clean copy of aircraft.cfg cannot be read.",
                               "The program's clean copy " + utf8FromPath(plan.dataCfg) + " cannot be read.");
    plan.dataBytes = std::move(*data);
    std::error_code ec;
    if (!fs::exists(plan.installedCfg, ec))
        return Status::Ok();
    std::optional<std::string> installed = readFileBytes(plan.installedCfg);
    if (!installed)
        return Status::Refused("The aircraft's aircraft.cfg cannot be read.",
                               "The aircraft's " + utf8FromPath(plan.installedCfg) + " cannot be read.");
    plan.installedStamp = stampOf(plan.installedCfg, *installed);
    std::string text;
    if (Status s = installedCfgText(plan.installedCfg, *installed, text); !s)
        return s;
    return readFltsimEntries(ProfileDocument(std::move(text)), repaint.extraFields, plan.entries,
                             plan.others);
}

Status ownLiveries(const RepaintInputs& repaint, const BuildPlan& plan, std::vector<FltsimEntry>& own) {
    std::vector<ProfileSection> untitled;
    return readFltsimEntries(ProfileDocument(plan.dataBytes), repaint.extraFields, own, untitled);
}

Status planEntry(const RepaintInputs& repaint, const std::string& sim, BuildPlan& plan) {
    if (Status s = checkInstalledCfgWritable(plan.installedCfg); !s)
        return s;
    const std::string title = newEntryTitle(repaint);
    plan.entry = newFltsimEntry(repaint, ProfileDocument(plan.dataBytes), sim);
    plan.entryHasModelAndTexture = repaint.spec.TextureAssignOnly == 0 || repaint.spec.TextureAssignOnly == 1;
    if (Status s = checkReadsBack(title, plan.entry); !s)
        return s;
    const auto same = std::find_if(plan.entries.begin(), plan.entries.end(), titled(title));
    if (same == plan.entries.end())
        return checkRoomForLivery(plan.entries.size());
    // A blank variation gives the bare prefix, typically the title of the aircraft's factory livery.
    std::vector<FltsimEntry> own;
    if (Status s = ownLiveries(repaint, plan, own); !s)
        return s;
    if (std::any_of(own.begin(), own.end(), titled(title)))
        return Status::Refused("\"" + shortName(utf8FromWindows1252(same->title)) +
                                   "\" is one of the aircraft's own liveries: choose another variation name.",
                               "Its clean copy of aircraft.cfg lists it, and a build never replaces it.");
    plan.replaced = *same;
    plan.entries.erase(same);
    return Status::Ok();
}

Status takeLivery(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan,
                  std::vector<FltsimEntry>& own) {
    const auto found = std::find_if(plan.entries.begin(), plan.entries.end(), titled(title));
    if (found == plan.entries.end())
        return Status::Refused("The aircraft has no livery titled \"" + utf8FromWindows1252(title) + "\".");
    if (Status s = ownLiveries(repaint, plan, own); !s)
        return s;
    if (std::any_of(own.begin(), own.end(), titled(title)))
        return Status::Refused(
            "\"" + utf8FromWindows1252(found->title) +
            "\" is one of the aircraft's own liveries (its clean copy of aircraft.cfg lists it); only liveries added to it can be taken out or shared.");
    plan.replaced = *found;
    plan.entryIndex = static_cast<std::size_t>(found - plan.entries.begin());
    plan.entries.erase(found);
    return Status::Ok();
}

void numberEntries(BuildPlan& plan) {
    plan.numbers = fltsimNumbers(plan.entries, plan.others);
    plan.entryNumber = plan.numbers.back();
    plan.numbers.pop_back();
}

} // namespace livrano
