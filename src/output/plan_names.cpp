// SPDX-License-Identifier: MIT
#include "output/plan_names.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <vector>

#include "aircraft/extra_field_names.h"
#include "aircraft/texture_file_names.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/plan_report.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

std::size_t listed(std::int16_t count, std::size_t size) {
    return std::min<std::size_t>(static_cast<std::size_t>(std::max<std::int16_t>(count, 0)), size);
}

// The variation's texture names at the model offsets of each texture.
Status modelPatches(const RepaintInputs& repaint, const std::string& id, std::vector<FilePatch>& patches) {
    for (const TextureSpec& t : repaint.spec.Textures) {
        const std::size_t count = listed(t.NumMdlOffsets, t.MdlOffsets.size());
        std::string name;
        if (count > 0) {
            if (Status s = variationName(repaint, "texture", t.BaseTextureName, t.ReplaceMask, id, name); !s)
                return s;
        }
        for (std::size_t k = 0; k < count; ++k) {
            const std::int32_t offset = t.MdlOffsets[k];
            if (offset < 1)
                return Status::Refused("The texture " + shortQuoted(trim(t.BaseTextureName)) +
                                           " has a model offset before the start of the model file.",
                                       "The model offset " + std::to_string(offset) + " of the texture \"" +
                                           utf8FromWindows1252(trim(t.BaseTextureName)) +
                                           "\" lies before the start of the model file.");
            patches.push_back({static_cast<std::uint64_t>(offset) - 1, name + ".bmp"});
        }
    }
    return Status::Ok();
}

Status checkPatchesFit(const PlannedCopy& model, const std::vector<FilePatch>& patches) {
    std::error_code ec;
    if (!fs::is_regular_file(model.source, ec))
        return missingSource("model file (BaseModelName)", model.source);
    const std::uintmax_t size = fs::file_size(model.source, ec);
    for (const FilePatch& patch : patches) {
        if (patch.position > size || patch.bytes.size() > size - patch.position)
            return Status::Refused(
                "The texture " + shortQuoted(patch.bytes) + " would end past the end of the model file.",
                "The texture name \"" + utf8FromWindows1252(patch.bytes) + "\" at model offset " +
                    std::to_string(patch.position + 1) + " would end past the end of the model file \"" +
                    utf8FromPath(model.source) + "\" (" + std::to_string(size) + " bytes).");
    }
    return Status::Ok();
}

} // namespace

Status planFolders(const RepaintInputs& repaint, BuildPlan& plan) {
    if (Status s =
            checkSafeFileName("aircraft folder (AircraftDirectory)", trim(repaint.spec.AircraftDirectory));
        !s)
        return s;
    if (Status s = checkSafeFileName("data folder (DataPath)", trim(repaint.spec.DataPath)); !s)
        return s;
    plan.aircraftFolder = aircraftFolderPath(repaint);
    plan.dataFolder = dataFolderPath(repaint);
    return Status::Ok();
}

Status planVariationId(const RepaintInputs& repaint, BuildPlan& plan) {
    const AircraftSpec& spec = repaint.spec;
    plan.extension = folderExtension(repaint);
    if (Status s = checkSafeFileName("folder extension", plan.extension); !s)
        return s;
    plan.id = variationId(repaint);
    if (spec.TextureAssignOnly == 0 &&
        static_cast<std::int64_t>(plan.id.size()) != spec.NumIdentifierCharacters)
        return Status::Refused(
            "The folder extension must be exactly " + std::to_string(spec.NumIdentifierCharacters) +
                " characters long for this aircraft.",
            "The folder extension \"" + utf8FromWindows1252(plan.extension) + "\" must be exactly " +
                std::to_string(spec.NumIdentifierCharacters) +
                " characters long for this aircraft: its model names the textures with that many identifier characters.");
    return Status::Ok();
}

Status planModel(const RepaintInputs& repaint, BuildPlan& plan) {
    if (repaint.spec.TextureAssignOnly != 0)
        return Status::Ok();
    const std::string base = trim(repaint.spec.BaseModelName) + ".mdl";
    if (Status s = checkSafeFileName("model file name (BaseModelName)", base); !s)
        return s;
    if (Status s = modelName(repaint, plan.id, plan.modelName); !s)
        return s;
    if (Status s = checkSafeFileName("model file name", plan.modelName + ".mdl"); !s)
        return s;
    plan.model = PlannedCopy{existingEntry(plan.dataFolder, base), {}};
    if (Status s = modelPatches(repaint, plan.id, plan.modelPatches); !s)
        return s;
    return checkPatchesFit(*plan.model, plan.modelPatches);
}

Status planAir(const RepaintInputs& repaint, BuildPlan& plan, std::string& sim) {
    const AircraftSpec& spec = repaint.spec;
    const std::string base = trim(spec.BaseAirName) + ".air";
    if (spec.CopyRenameAirFile == 0 || spec.CopyRenameAirFile == 1) {
        if (Status s = checkSafeFileName("flight-model file name (BaseAirName)", base); !s)
            return s;
    }
    if (spec.CopyRenameAirFile != 1)
        return Status::Ok();
    if (Status s = airName(repaint, plan.id, sim); !s)
        return s;
    if (Status s = checkSafeFileName("flight-model file name", sim + ".air"); !s)
        return s;
    plan.air = PlannedCopy{existingEntry(plan.dataFolder, base), {}};
    std::error_code ec;
    if (!fs::is_regular_file(plan.air->source, ec))
        return missingSource("flight-model file (BaseAirName)", plan.air->source);
    return Status::Ok();
}

// Two textures whose files in TempBitmaps meet would install a plain bitmap as a texture; two of
// one name are the aircraft's own affair: the later one wins, as it always has.
Status planTextures(const RepaintInputs& repaint, BuildPlan& plan) {
    const AircraftSpec& spec = repaint.spec;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listed(spec.NumTextures, spec.Textures.size()); ++i) {
        TextureJob job;
        job.index = i;
        if (spec.TextureAssignOnly != 0 && spec.TextureAssignOnly != 1) {
            job.name = trim(spec.Textures[i].BaseTextureName);
            job.skipped = "TextureAssignOnly " + std::to_string(spec.TextureAssignOnly) +
                          " gives it neither a name nor a folder";
            plan.textures.textures.push_back(std::move(job));
            continue;
        }
        if (Status s = variationTextureName(repaint, i, plan.id, job.name); !s)
            return s;
        if (Status s = checkSafeFileName("texture name", job.name); !s)
            return s;
        if (Status s = checkSafeFileName("texture name", job.name + "_c.bmp"); !s)
            return s;
        names.push_back(job.name);
        plan.textures.textures.push_back(std::move(job));
    }
    for (const TextureFileClash& clash : textureFileClashes(names)) {
        if (!clash.sameName)
            return Status::Refused(
                "Two textures would share a file: rename one of them in the aircraft configuration.",
                clash.message);
        plan.warnings.push_back(clash.message);
    }
    return Status::Ok();
}

Status planExtras(const RepaintInputs& repaint, const fs::path& shared, PlanPaths& paths, BuildPlan& plan,
                  fs::path& folder) {
    const ExtraTextureSpec& extra = repaint.extraTextures;
    if (extra.CopyExtraTextures != 1)
        return Status::Ok();
    const std::string base = trim(extra.BaseTextureFolder);
    if (!base.empty()) {
        if (Status s = checkSafeFileName("extra texture folder", "Texture." + base); !s)
            return s;
    }
    folder = base.empty() ? shared : existingEntry(plan.aircraftFolder, "Texture." + base);
    for (std::size_t j = 0; j < listed(extra.NumExtraTextures, extra.ExtraTextureNames.size()); ++j) {
        const std::string name = trim(extra.ExtraTextureNames[j]);
        if (Status s = checkSafeFileName("extra texture name", name); !s)
            return s;
        plan.textures.extras.push_back({name, paths.entryIn(folder, name), {}});
    }
    return Status::Ok();
}

// Extra field names become keys of every entry the build writes.
Status checkExtraFields(const RepaintInputs& repaint) {
    const ExtraFieldSpec& fields = repaint.extraFields;
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

} // namespace livrano
