// SPDX-License-Identifier: MIT
#include "output/variation_layout.h"

#include "aircraft/masked_name.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

fs::path aircraftFolderPath(const Application& app) {
    return resolveCaseless(
        programLocation(app.programFolder, "\\..\\..\\Aircraft\\" + trim(app.spec.AircraftDirectory)));
}

fs::path dataFolderPath(const Application& app) {
    return resolveCaseless(programLocation(app.programFolder, "\\Data." + trim(app.spec.DataPath)));
}

std::string folderExtension(const Application& app) {
    return trim(app.settings.FolderExtension);
}

std::string variationId(const Application& app) {
    return toUpper(folderExtension(app));
}

bool copiesExtraTextures(const Application& app) {
    return app.extraTextures.CopyExtraTextures == 1 && app.extraTextures.NumExtraTextures >= 1 &&
           !app.extraTextures.ExtraTextureNames.empty();
}

fs::path existingEntry(const fs::path& folder, std::string_view name) {
    return resolveCaseless(folder / pathFromWindows1252(name));
}

Status variationName(const Application& app, std::string_view what, std::string_view base,
                     std::string_view mask, std::string_view id, std::string& name) {
    const std::string b = trim(base);
    const std::string m = trim(mask);
    const auto masked = MaskedName(b, m, app.spec.NumIdentifierCharacters, id);
    if (!masked)
        return Status::Refused("The " + std::string(what) + " name cannot be formed from \"" +
                                   shortName(utf8FromWindows1252(b)) + "\" and its mask.",
                               "The " + std::string(what) + " name cannot be formed from the base name \"" +
                                   utf8FromWindows1252(b) + "\" and the mask \"" + utf8FromWindows1252(m) +
                                   "\" with " + std::to_string(app.spec.NumIdentifierCharacters) +
                                   " identifier characters.");
    name = trim(*masked);
    return Status::Ok();
}

Status modelName(const Application& app, std::string_view id, std::string& name) {
    return variationName(app, "model file", app.spec.BaseModelName, app.spec.ReplaceMask, id, name);
}

Status airName(const Application& app, std::string_view id, std::string& name) {
    return variationName(app, "flight-model file", app.spec.BaseAirName, app.spec.ReplaceAirMask, id, name);
}

Status variationTextureName(const Application& app, std::size_t index, std::string_view id,
                            std::string& name) {
    const TextureSpec& t = app.spec.Textures[index];
    if (app.spec.TextureAssignOnly == 1) {
        name = trim(t.BaseTextureName);
        return Status::Ok();
    }
    return variationName(app, "texture", t.BaseTextureName, t.ReplaceMask, id, name);
}

} // namespace livrano
