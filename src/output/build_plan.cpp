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
#include "output/plan_owners.h"
#include "output/plan_paths.h"
#include "output/plan_removals.h"
#include "output/plan_report.h"
#include "output/plan_targets.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

std::size_t listed(std::int16_t count, std::size_t size) {
    return std::min<std::size_t>(static_cast<std::size_t>(std::max<std::int16_t>(count, 0)), size);
}

class Planner {
public:
    Planner(const RepaintInputs& repaint, BuildPlan& plan, FileOperations& files = systemFileOperations())
        : m_repaint(repaint), m_spec(repaint.spec), m_plan(plan), m_files(files) {}

    Status plan() {
        BuildPlan& p = m_plan;
        if (Status s = folders(); !s)
            return s;
        p.extension = folderExtension(m_repaint);
        if (Status s = checkSafeFileName("folder extension", p.extension); !s)
            return s;
        p.id = variationId(m_repaint);
        if (m_spec.TextureAssignOnly == 0 &&
            static_cast<std::int64_t>(p.id.size()) != m_spec.NumIdentifierCharacters)
            return Status::Refused(
                "The folder extension must be exactly " + std::to_string(m_spec.NumIdentifierCharacters) +
                    " characters long for this aircraft.",
                "The folder extension \"" + utf8FromWindows1252(p.extension) + "\" must be exactly " +
                    std::to_string(m_spec.NumIdentifierCharacters) +
                    " characters long for this aircraft: its model names the textures with that many identifier characters.");
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
        BuildPlan& p = m_plan;
        if (Status s =
                checkSafeFileName("aircraft folder (AircraftDirectory)", trim(m_spec.AircraftDirectory));
            !s)
            return s;
        if (Status s = checkSafeFileName("data folder (DataPath)", trim(m_spec.DataPath)); !s)
            return s;
        p.aircraftFolder = aircraftFolderPath(m_repaint);
        p.dataFolder = dataFolderPath(m_repaint);
        m_shared = existingEntry(p.aircraftFolder, "Texture");
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
    Status model() {
        if (m_spec.TextureAssignOnly != 0)
            return Status::Ok();
        BuildPlan& p = m_plan;
        const std::string base = trim(m_spec.BaseModelName) + ".mdl";
        if (Status s = checkSafeFileName("model file name (BaseModelName)", base); !s)
            return s;
        if (Status s = modelName(m_repaint, p.id, p.modelName); !s)
            return s;
        if (Status s = checkSafeFileName("model file name", p.modelName + ".mdl"); !s)
            return s;
        p.model = PlannedCopy{existingEntry(p.dataFolder, base), {}};
        for (const TextureSpec& t : m_spec.Textures) {
            const std::size_t count = listed(t.NumMdlOffsets, t.MdlOffsets.size());
            std::string name;
            if (count > 0) {
                if (Status s =
                        variationName(m_repaint, "texture", t.BaseTextureName, t.ReplaceMask, p.id, name);
                    !s)
                    return s;
            }
            for (std::size_t k = 0; k < count; ++k) {
                const std::int32_t offset = t.MdlOffsets[k];
                if (offset < 1)
                    return Status::Refused("The texture " + shortQuoted(trim(t.BaseTextureName)) +
                                               " has a model offset before the start of the model file.",
                                           "The model offset " + std::to_string(offset) +
                                               " of the texture \"" +
                                               utf8FromWindows1252(trim(t.BaseTextureName)) +
                                               "\" lies before the start of the model file.");
                p.modelPatches.push_back({static_cast<std::uint64_t>(offset) - 1, name + ".bmp"});
            }
        }
        std::error_code ec;
        if (!fs::is_regular_file(p.model->source, ec))
            return missingSource("model file (BaseModelName)", p.model->source);
        const std::uintmax_t size = fs::file_size(p.model->source, ec);
        for (const FilePatch& patch : p.modelPatches) {
            if (patch.position > size || patch.bytes.size() > size - patch.position)
                return Status::Refused(
                    "The texture " + shortQuoted(patch.bytes) + " would end past the end of the model file.",
                    "The texture name \"" + utf8FromWindows1252(patch.bytes) + "\" at model offset " +
                        std::to_string(patch.position + 1) + " would end past the end of the model file \"" +
                        utf8FromPath(p.model->source) + "\" (" + std::to_string(size) + " bytes).");
        }
        return Status::Ok();
    }

    Status air() {
        BuildPlan& p = m_plan;
        const std::string base = trim(m_spec.BaseAirName) + ".air";
        if (m_spec.CopyRenameAirFile == 0 || m_spec.CopyRenameAirFile == 1) {
            if (Status s = checkSafeFileName("flight-model file name (BaseAirName)", base); !s)
                return s;
        }
        if (m_spec.CopyRenameAirFile != 1)
            return Status::Ok();
        if (Status s = airName(m_repaint, p.id, m_sim); !s)
            return s;
        if (Status s = checkSafeFileName("flight-model file name", m_sim + ".air"); !s)
            return s;
        p.air = PlannedCopy{existingEntry(p.dataFolder, base), {}};
        std::error_code ec;
        if (!fs::is_regular_file(p.air->source, ec))
            return missingSource("flight-model file (BaseAirName)", p.air->source);
        return Status::Ok();
    }

    // Two textures whose files in TempBitmaps meet would install a plain bitmap as a texture;
    // two of one name are the aircraft's own affair: the later one wins, as it always has.
    Status textures() {
        BuildPlan& p = m_plan;
        std::vector<std::string> names;
        for (std::size_t i = 0; i < listed(m_spec.NumTextures, m_spec.Textures.size()); ++i) {
            TextureJob job;
            job.index = i;
            if (m_spec.TextureAssignOnly != 0 && m_spec.TextureAssignOnly != 1) {
                job.name = trim(m_spec.Textures[i].BaseTextureName);
                job.skipped = "TextureAssignOnly " + std::to_string(m_spec.TextureAssignOnly) +
                              " gives it neither a name nor a folder";
                p.textures.textures.push_back(std::move(job));
                continue;
            }
            if (Status s = variationTextureName(m_repaint, i, p.id, job.name); !s)
                return s;
            if (Status s = checkSafeFileName("texture name", job.name); !s)
                return s;
            if (Status s = checkSafeFileName("texture name", job.name + "_c.bmp"); !s)
                return s;
            names.push_back(job.name);
            p.textures.textures.push_back(std::move(job));
        }
        for (const TextureFileClash& clash : textureFileClashes(names)) {
            if (!clash.sameName)
                return Status::Refused(
                    "Two textures would share a file: rename one of them in the aircraft configuration.",
                    clash.message);
            p.warnings.push_back(clash.message);
        }
        return Status::Ok();
    }

    Status extras() {
        const ExtraTextureSpec& extra = m_repaint.extraTextures;
        if (extra.CopyExtraTextures != 1)
            return Status::Ok();
        const std::string base = trim(extra.BaseTextureFolder);
        if (!base.empty()) {
            if (Status s = checkSafeFileName("extra texture folder", "Texture." + base); !s)
                return s;
        }
        const fs::path source =
            base.empty() ? m_shared : existingEntry(m_plan.aircraftFolder, "Texture." + base);
        m_extrasFolder = source;
        for (std::size_t j = 0; j < listed(extra.NumExtraTextures, extra.ExtraTextureNames.size()); ++j) {
            const std::string name = trim(extra.ExtraTextureNames[j]);
            if (Status s = checkSafeFileName("extra texture name", name); !s)
                return s;
            m_plan.textures.extras.push_back({name, m_paths.entryIn(source, name), {}});
        }
        return Status::Ok();
    }

    // Extra field names become keys of every entry the build writes.
    Status fields() {
        const ExtraFieldSpec& fields = m_repaint.extraFields;
        if (fields.CopyExtraFields != 1 || fields.NumFields < 1)
            return Status::Ok();
        const std::vector<ExtraFieldNameFault> faults =
            extraFieldNameFaults(fields, listed(fields.NumFields, fields.ExtraFieldNames.size()));
        if (!faults.empty())
            return Status::Refused("The extra field ExtraField." +
                                       twoDigits(static_cast<int>(faults.front().field)) +
                                       " cannot be written: fix it in the aircraft configuration.",
                                   "The extra field " + faults.front().message);
        return Status::Ok();
    }

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
