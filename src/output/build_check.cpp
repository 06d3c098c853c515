#include "output/build_check.h"

#include <filesystem>
#include <system_error>

#include "aircraft/extra_field_names.h"
#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/model_textures.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

Status checkModelOffsets(const Application& app, const std::string& id) {
    std::vector<FilePatch> patches;
    if (Status s = modelPatches(app, id, patches); !s)
        return s;
    const fs::path model = existingEntry(dataFolderPath(app), trim(app.spec.BaseModelName) + ".mdl");
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(model, ec);
    if (ec)
        return Status::Ok(); // the model step reports a missing model file itself
    for (const FilePatch& p : patches) {
        if (p.position > size || p.bytes.size() > size - p.position)
            return Status::Error("The texture name \"" + p.bytes + "\" at model offset " +
                                 std::to_string(p.position + 1) +
                                 " would end past the end of the model file \"" + model.string() + "\" (" +
                                 std::to_string(size) + " bytes).");
    }
    return Status::Ok();
}

Status checkNames(const Application& app, const std::string& id) {
    const AircraftSpec& spec = app.spec;
    std::string name;
    if (spec.TextureAssignOnly == 0) {
        if (Status s =
                checkSafeFileName("model file name (BaseModelName)", trim(spec.BaseModelName) + ".mdl");
            !s)
            return s;
        if (Status s = modelName(app, id, name); !s)
            return s;
        if (Status s = checkSafeFileName("model file name", name + ".mdl"); !s)
            return s;
    }
    if (spec.CopyRenameAirFile == 0 || spec.CopyRenameAirFile == 1) {
        if (Status s =
                checkSafeFileName("flight-model file name (BaseAirName)", trim(spec.BaseAirName) + ".air");
            !s)
            return s;
    }
    if (spec.CopyRenameAirFile == 1) {
        if (Status s = airName(app, id, name); !s)
            return s;
        if (Status s = checkSafeFileName("flight-model file name", name + ".air"); !s)
            return s;
    }
    if (spec.TextureAssignOnly == 0 || spec.TextureAssignOnly == 1) {
        const std::size_t count = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<std::int16_t>(spec.NumTextures, 0)), spec.Textures.size());
        for (std::size_t i = 0; i < count; ++i) {
            if (Status s = variationTextureName(app, i, id, name); !s)
                return s;
            if (Status s = checkSafeFileName("texture name", name + ".bmp"); !s)
                return s;
        }
    }
    const ExtraTextureSpec& extra = app.extraTextures;
    if (extra.CopyExtraTextures == 1 && extra.NumExtraTextures >= 1) {
        const std::string base = trim(extra.BaseTextureFolder);
        if (!base.empty()) {
            if (Status s = checkSafeFileName("extra texture folder", "Texture." + base); !s)
                return s;
        }
        const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(extra.NumExtraTextures),
                                                        extra.ExtraTextureNames.size());
        for (std::size_t j = 0; j < count; ++j) {
            if (Status s = checkSafeFileName("extra texture name", trim(extra.ExtraTextureNames[j])); !s)
                return s;
        }
    }
    const ExtraFieldSpec& fields = app.extraFields;
    if (fields.CopyExtraFields == 1 && fields.NumFields >= 1) {
        const std::vector<ExtraFieldNameFault> faults =
            extraFieldNameFaults(fields, std::min<std::size_t>(static_cast<std::size_t>(fields.NumFields),
                                                               fields.ExtraFieldNames.size()));
        if (!faults.empty())
            return Status::Error("The extra field " + faults.front().message);
    }
    return Status::Ok();
}

Status checkInstalledEntries(const Application& app) {
    const fs::path installed = existingEntry(aircraftFolderPath(app), "Aircraft.cfg");
    std::optional<std::string> bytes = readFileBytes(installed);
    if (!bytes)
        return Status::Ok(); // a missing file holds no entries; an unreadable one fails its step
    std::vector<FltsimEntry> entries;
    return readFltsimEntries(ProfileDocument(std::move(*bytes)), app.extraFields, entries);
}

} // namespace

Status checkBuild(const Application& app) {
    const AircraftSpec& spec = app.spec;
    if (Status s = checkSafeFileName("aircraft folder (AircraftDirectory)", trim(spec.AircraftDirectory)); !s)
        return s;
    if (Status s = checkSafeFileName("data folder (DataPath)", trim(spec.DataPath)); !s)
        return s;
    const std::string extension = folderExtension(app);
    if (Status s = checkSafeFileName("folder extension", extension); !s)
        return s;
    const std::string id = variationId(app);
    if (spec.TextureAssignOnly == 0 && static_cast<std::int64_t>(id.size()) != spec.NumIdentifierCharacters)
        return Status::Error(
            "The folder extension \"" + extension + "\" must be exactly " +
            std::to_string(spec.NumIdentifierCharacters) +
            " characters long for this aircraft: its model names the textures with that many "
            "identifier characters.");
    if (Status s = checkNames(app, id); !s)
        return s;
    if (spec.TextureAssignOnly == 0) {
        if (Status s = checkModelOffsets(app, id); !s)
            return s;
    }
    return checkInstalledEntries(app);
}

} // namespace livrano
