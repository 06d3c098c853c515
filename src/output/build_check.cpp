#include "output/build_check.h"

#include <filesystem>
#include <system_error>

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

// Every texture leaves three files in TempBitmaps: N_c.bmp (colour), N_a.bmp (alpha) and the
// converted N.bmp. One texture's file must not be another's of another kind ("WING_c" converted
// is "WING"'s colour): the build would install a plain bitmap as a texture. Two textures of one
// name are the aircraft's own affair (the later one wins) and pass.
Status checkTextureNames(const Application& app, const std::string& id) {
    const std::size_t count = std::min<std::size_t>(
        static_cast<std::size_t>(std::max<std::int16_t>(app.spec.NumTextures, 0)), app.spec.Textures.size());
    struct Written {
        std::string file;
        const char* kind;
        std::string texture;
    };
    std::vector<Written> written;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        if (Status s = variationTextureName(app, i, id, name); !s)
            return s;
        if (Status s = checkSafeFileName("texture name", name); !s)
            return s;
        if (Status s = checkSafeFileName("texture name", name + "_c.bmp"); !s)
            return s;
        for (const Written& w :
             {Written{name + ".bmp", "texture", name}, Written{name + "_c.bmp", "colour", name},
              Written{name + "_a.bmp", "alpha", name}}) {
            for (const Written& other : written) {
                if (equalsNoCase(other.file, w.file) && std::string_view(other.kind) != w.kind)
                    return Status::Error("The " + std::string(w.kind) + " file " + w.file +
                                         " of the texture \"" + w.texture + "\" is also the " + other.kind +
                                         " file of the texture \"" + other.texture +
                                         "\" in TempBitmaps; rename one of them in the aircraft "
                                         "configuration.");
            }
            written.push_back(w);
        }
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
        if (Status s = checkTextureNames(app, id); !s)
            return s;
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
    return Status::Ok();
}

// The title must read back as written, or a rebuild never finds it and adds an entry each time.
Status checkTitle(const Application& app) {
    const std::string title = newEntryTitle(app);
    ProfileDocument probe;
    probe.write("fltsim.0", "title", title);
    if (probe.readString("fltsim.0", "title") != trim(title))
        return Status::Error("The title \"" + title + "\" cannot be read back from aircraft.cfg (at most " +
                             std::to_string(kIniStringChars) +
                             " characters, no enclosing quotation marks); shorten the variation's name.");
    return Status::Ok();
}

std::string entryName(const FltsimEntry& e) {
    return "the livery \"" + e.title + "\"";
}

// A folder or file another livery uses is never taken over: the build would overwrite that
// livery's textures, model or flight model. The livery of the same title is replaced, so its
// files may be. The folder the extra textures come from is the aircraft's own.
Status checkOwners(const Application& app, const std::vector<FltsimEntry>& entries) {
    const std::string target = trim(toUpper(newEntryTitle(app)));
    const std::string extension = folderExtension(app);
    const std::string id = variationId(app);
    const bool ownTextureFolder = app.spec.TextureAssignOnly == 1 || copiesExtraTextures(app);
    const std::string base = trim(app.extraTextures.BaseTextureFolder);
    if (ownTextureFolder && app.extraTextures.CopyExtraTextures == 1 && equalsNoCase(base, extension))
        return Status::Error("The folder Texture." + extension +
                             " holds the aircraft's own extra textures; choose another folder extension.");
    std::string air;
    if (app.spec.CopyRenameAirFile == 1 && !airName(app, id, air))
        air.clear();
    for (const FltsimEntry& e : entries) {
        if (trim(toUpper(e.title)) == target)
            continue;
        if (ownTextureFolder && equalsNoCase(trim(e.texture), extension))
            return Status::Error("The folder Texture." + extension + " belongs to " + entryName(e) +
                                 "; choose another folder extension.");
        if (app.spec.TextureAssignOnly == 0 && equalsNoCase(trim(e.model), id))
            return Status::Error("The model folder Model." + id + " and the textures named with " + id +
                                 " belong to " + entryName(e) + "; choose another folder extension.");
        if (!air.empty() && equalsNoCase(trim(e.sim), air))
            return Status::Error("The flight model " + air + ".air belongs to " + entryName(e) +
                                 "; choose another folder extension.");
    }
    return Status::Ok();
}

Status checkInstalledEntries(const Application& app) {
    const fs::path installed = existingEntry(aircraftFolderPath(app), "Aircraft.cfg");
    std::optional<std::string> bytes = readFileBytes(installed);
    if (!bytes)
        return Status::Ok(); // a missing file holds no entries; an unreadable one fails its step
    std::vector<FltsimEntry> entries;
    if (Status s = readFltsimEntries(ProfileDocument(std::move(*bytes)), app.extraFields, entries); !s)
        return s;
    return checkOwners(app, entries);
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
    if (Status s = checkTitle(app); !s)
        return s;
    if (spec.TextureAssignOnly == 0) {
        if (Status s = checkModelOffsets(app, id); !s)
            return s;
    }
    return checkInstalledEntries(app);
}

} // namespace livrano
