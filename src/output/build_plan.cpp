// SPDX-License-Identifier: MIT
#include "output/build_plan.h"

#include <algorithm>
#include <map>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "aircraft/extra_field_names.h"
#include "aircraft/profile.h"
#include "aircraft/texture_file_names.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/platform.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/file_system_limits.h"
#include "output/plan_limits.h"
#include "output/plan_names.h"
#include "output/plan_owners.h"
#include "output/plan_paths.h"
#include "output/plan_removals.h"
#include "output/plan_report.h"
#include "output/plan_targets.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

class Planner {
public:
    Planner(const RepaintInputs& repaint, BuildPlan& plan, FileOperations& files = systemFileOperations())
        : m_repaint(repaint), m_spec(repaint.spec), m_plan(plan), m_files(files) {}

    Status plan() {
        BuildPlan& p = m_plan;
        if (Status s = folders(); !s)
            return s;
        if (Status s = planVariationId(m_repaint, p); !s)
            return s;
        for (auto step :
             {&Planner::model, &Planner::air, &Planner::textures, &Planner::extras, &Planner::fields,
              &Planner::aircraftCfg, &Planner::targets, &Planner::owners, &Planner::writable, &Planner::room})
            if (Status s = (this->*step)(); !s)
                return s;
        return Status::Ok();
    }

    // One installed livery and the files that go with it. `protectAll` keeps every other
    // livery's files (taking the livery out); otherwise only the aircraft's own liveries' are
    // kept (the files a livery brings along when it is shared).
    // The N each carried entry is written under, and the new entry's.
    void numberEntries() {
        BuildPlan& p = m_plan;
        p.numbers = fltsimNumbers(p.entries, p.others);
        p.entryNumber = p.numbers.back();
        p.numbers.pop_back();
    }

    // The aircraft's folder, its data folder and its shared texture folder, from names checked
    // to be safe.
    Status folders() {
        if (Status s = planFolders(m_repaint, m_plan); !s)
            return s;
        m_shared = existingEntry(m_plan.aircraftFolder, "Texture");
        return Status::Ok();
    }

    // The aircraft's folders and configurations as they are, for work on its liveries.
    Status configurations() {
        if (Status s = folders(); !s)
            return s;
        for (auto step : {&Planner::extras, &Planner::fields, &Planner::readConfigurations})
            if (Status s = (this->*step)(); !s)
                return s;
        return Status::Ok();
    }

    Status livery(std::string_view title, bool protectAll) {
        BuildPlan& p = m_plan;
        if (Status s = configurations(); !s)
            return s;
        if (protectAll) {
            if (Status s = checkInstalledCfgWritable(p.installedCfg); !s)
                return s;
        }
        p.writesEntry = false;
        const std::string target = trim(toUpper(title));
        auto titled = [&](const FltsimEntry& e) { return trim(toUpper(e.title)) == target; };
        const auto found = std::find_if(p.entries.begin(), p.entries.end(), titled);
        if (found == p.entries.end())
            return Status::Refused("The aircraft has no livery titled \"" + utf8FromWindows1252(title) +
                                   "\".");
        std::vector<FltsimEntry> own;
        if (Status s = ownLiveries(own); !s)
            return s;
        if (std::any_of(own.begin(), own.end(), titled))
            return Status::Refused(
                "\"" + utf8FromWindows1252(found->title) +
                "\" is one of the aircraft's own liveries (its clean copy of aircraft.cfg lists it); only liveries added to it can be taken out or shared.");
        p.replaced = *found;
        p.entryIndex = static_cast<std::size_t>(found - p.entries.begin());
        p.entries.erase(found);
        numberEntries();
        std::vector<FltsimEntry> kept = std::move(p.entries);
        p.entries = protectAll ? kept : own;
        indexOwned();
        planRemovals(m_repaint, m_shared, m_owners, m_paths, m_plan);
        p.entries = std::move(kept);
        return Status::Ok();
    }

private:
    Status model() { return planModel(m_repaint, m_plan); }
    Status air() { return planAir(m_repaint, m_plan, m_sim); }
    Status textures() { return planTextures(m_repaint, m_plan); }
    Status extras() { return planExtras(m_repaint, m_shared, m_paths, m_plan, m_extrasFolder); }
    Status fields() { return checkExtraFields(m_repaint); }

    Status readConfigurations() {
        BuildPlan& p = m_plan;
        p.installedCfg = existingEntry(p.aircraftFolder, "Aircraft.cfg");
        p.backupCfg = existingEntry(p.aircraftFolder, "Aircraft.bak");
        p.originalCfg = existingEntry(p.aircraftFolder, kOriginalAircraftCfg);
        p.dataCfg = existingEntry(p.dataFolder, "Aircraft.cfg");
        // Without the clean copy no new file can be composed; better to find out before the
        // livery of the same title gives way.
        std::optional<std::string> data = readFileBytes(p.dataCfg);
        if (!data)
            return Status::Refused("The program's clean copy of aircraft.cfg cannot be read.",
                                   "The program's clean copy " + utf8FromPath(p.dataCfg) +
                                       " cannot be read.");
        p.dataBytes = std::move(*data);
        std::error_code ec;
        if (fs::exists(p.installedCfg, ec)) {
            std::optional<std::string> installed = readFileBytes(p.installedCfg);
            if (!installed)
                return Status::Refused("The aircraft's aircraft.cfg cannot be read.",
                                       "The aircraft's " + utf8FromPath(p.installedCfg) + " cannot be read.");
            p.installedStamp = stampOf(p.installedCfg, *installed);
            std::string text;
            if (Status s = installedCfgText(p.installedCfg, *installed, text); !s)
                return s;
            return readFltsimEntries(ProfileDocument(std::move(text)), m_repaint.extraFields, p.entries,
                                     p.others);
        }
        return Status::Ok();
    }

    Status aircraftCfg() {
        BuildPlan& p = m_plan;
        if (Status s = readConfigurations(); !s)
            return s;
        if (Status s = checkInstalledCfgWritable(p.installedCfg); !s)
            return s;

        // The title must read back as written, or a rebuild never finds it and adds an entry
        // each time.
        const std::string title = newEntryTitle(m_repaint);
        if (!checkFltsimValue("title", title))
            return Status::Refused(
                "The title " + shortQuoted(title) +
                    " cannot be read back from aircraft.cfg: shorten the variation.",
                "The title \"" + utf8FromWindows1252(title) +
                    "\" cannot be read back from aircraft.cfg (at most " + std::to_string(kIniStringChars) +
                    " characters, no enclosing quotation marks); shorten the variation's name.");
        if (m_spec.CopyRenameAirFile == 0)
            m_sim = trim(m_spec.BaseAirName);
        p.entry = newFltsimEntry(m_repaint, ProfileDocument(p.dataBytes), m_sim);
        p.entryHasModelAndTexture = m_spec.TextureAssignOnly == 0 || m_spec.TextureAssignOnly == 1;
        // So must every name the user typed: a reader drops enclosing quotation marks, and
        // texture='AB' would name a folder the build never made (and a rebuild would remove).
        const std::pair<const char*, const std::string*> typed[] = {{"ui_variation", &p.entry.ui_variation},
                                                                    {"texture", &p.entry.texture},
                                                                    {"model", &p.entry.model},
                                                                    {"atc_id", &p.entry.atc_id},
                                                                    {"atc_airline", &p.entry.atc_airline}};
        for (const auto& [key, value] : typed) {
            if (Status s = checkFltsimValue(key, *value); !s)
                return s;
        }

        const std::string target = trim(toUpper(title));
        auto titled = [&](const FltsimEntry& e) { return trim(toUpper(e.title)) == target; };
        const auto same = std::find_if(p.entries.begin(), p.entries.end(), titled);
        if (same != p.entries.end()) {
            // A blank variation gives the bare prefix, typically the title of the aircraft's factory livery.
            std::vector<FltsimEntry> own;
            if (Status s = ownLiveries(own); !s)
                return s;
            if (std::any_of(own.begin(), own.end(), titled))
                return Status::Refused(
                    "\"" + shortName(utf8FromWindows1252(same->title)) +
                        "\" is one of the aircraft's own liveries: choose another variation name.",
                    "Its clean copy of aircraft.cfg lists it, and a build never replaces it.");
            p.replaced = *same;
            p.entries.erase(same);
        } else if (Status s = checkRoomForLivery(p.entries.size()); !s) {
            return s;
        }
        numberEntries();
        indexOwned();
        if (p.replaced)
            planRemovals(m_repaint, m_shared, m_owners, m_paths, m_plan);
        return Status::Ok();
    }

    // The aircraft's own liveries: those its clean copy lists.
    Status ownLiveries(std::vector<FltsimEntry>& own) const {
        std::vector<ProfileSection> untitled;
        return readFltsimEntries(ProfileDocument(m_plan.dataBytes), m_repaint.extraFields, own, untitled);
    }

    // The places of what the build writes; what it writes over is no longer among the removals.
    Status targets() {
        if (Status s = placeWrites(m_repaint, m_shared, m_sim, m_targets, m_paths, m_plan); !s)
            return s;
        keepWrittenOver(m_paths, m_plan);
        return Status::Ok();
    }

    // The owners of what the build may not write or remove, for the plan's entries as they stand.
    void indexOwned() { m_owners.index(ownedPaths(m_repaint, m_plan, m_shared, m_extrasFolder, m_paths)); }

    // Nothing the build writes may be another livery's or the aircraft's own.
    Status owners() { return checkOwners(writtenPaths(m_plan), m_owners, m_targets); }

    Status writable() { return checkWritable(writtenPaths(m_plan)); }

    Status room() { return checkRoom(m_plan, m_spec, m_files); }

    const RepaintInputs m_repaint;
    const AircraftSpec& m_spec;
    BuildPlan& m_plan;
    FileOperations& m_files; // asked only how much space is free
    fs::path m_shared;       // "Texture"
    fs::path m_extrasFolder; // where the extra textures come from
    std::string m_sim;       // the new entry's flight model
    mutable PlanPaths m_paths;
    WriteTargets m_targets{m_paths};
    OwnerIndex m_owners{m_paths};
};

} // namespace

namespace {

// The plan is handed over only when the whole of it holds: a refused plan leaves the caller's as it was.
template <typename Step>
Status planWith(const RepaintInputs& repaint, BuildPlan& plan, Step step,
                FileOperations& files = systemFileOperations()) {
    BuildPlan planned;
    Planner planner(repaint, planned, files);
    if (Status s = step(planner); !s)
        return s;
    plan = std::move(planned);
    return Status::Ok();
}

} // namespace

Status planConfigurations(const RepaintInputs& repaint, BuildPlan& plan) {
    return planWith(repaint, plan, [](Planner& planner) { return planner.configurations(); });
}

Status planLiveryRemoval(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan,
                         FileOperations& files) {
    BuildPlan planned;
    if (Status s =
            planWith(repaint, planned, [title](Planner& planner) { return planner.livery(title, true); });
        !s)
        return s;
    // The entry goes first, and its rewrite must not stop midway.
    if (Status s = checkCfgRewrite(planned, files, 0, "Taking the livery out"); !s)
        return s;
    plan = std::move(planned);
    return Status::Ok();
}

Status planLiveryFiles(const RepaintInputs& repaint, std::string_view title, BuildPlan& plan) {
    return planWith(repaint, plan, [title](Planner& planner) { return planner.livery(title, false); });
}

Status planBuild(const RepaintInputs& repaint, const BitmapSurfaces& surfaces, BuildPlan& plan,
                 FileOperations& files) {
    // Every texture is cut from the template: without one the build would install a livery
    // with none of them.
    if (!surfaces.TemplateSurface24.Ready)
        return Status::Refused("No template is loaded: choose a template that reads as a BMP file.");
    return planWith(
        repaint, plan, [](Planner& planner) { return planner.plan(); }, files);
}

} // namespace livrano
