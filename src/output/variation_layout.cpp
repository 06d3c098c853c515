// SPDX-License-Identifier: MIT
#include "output/variation_layout.h"

#include <cassert>

#include "aircraft/masked_name.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

fs::path aircraftFolderPath(const RepaintInputs& repaint) {
    return resolveCaseless(programLocation(repaint.programFolder,
                                           "\\..\\..\\Aircraft\\" + trim(repaint.spec.AircraftDirectory)));
}

fs::path dataFolderPath(const RepaintInputs& repaint) {
    return resolveCaseless(programLocation(repaint.programFolder, "\\Data." + trim(repaint.spec.DataPath)));
}

std::string folderExtension(const RepaintInputs& repaint) {
    return trim(repaint.settings.FolderExtension);
}

std::string variationId(const RepaintInputs& repaint) {
    return toUpper(folderExtension(repaint));
}

bool copiesExtraTextures(const RepaintInputs& repaint) {
    return repaint.extraTextures.CopyExtraTextures == 1 && repaint.extraTextures.NumExtraTextures >= 1 &&
           !repaint.extraTextures.ExtraTextureNames.empty();
}

fs::path existingEntry(const fs::path& folder, std::string_view name) {
    return resolveCaseless(folder / pathFromWindows1252(name));
}

Status variationName(const RepaintInputs& repaint, std::string_view what, std::string_view base,
                     std::string_view mask, std::string_view id, std::string& name) {
    const std::string b = trim(base);
    const std::string m = trim(mask);
    const auto masked = MaskedName(b, m, repaint.spec.NumIdentifierCharacters, id);
    if (!masked)
        return Status::Refused("The " + std::string(what) + " name cannot be formed from \"" +
                                   shortName(utf8FromWindows1252(b)) + "\" and its mask.",
                               "The " + std::string(what) + " name cannot be formed from the base name \"" +
                                   utf8FromWindows1252(b) + "\" and the mask \"" + utf8FromWindows1252(m) +
                                   "\" with " + std::to_string(repaint.spec.NumIdentifierCharacters) +
                                   " identifier characters.");
    name = trim(*masked);
    return Status::Ok();
}

Status modelName(const RepaintInputs& repaint, std::string_view id, std::string& name) {
    return variationName(repaint, "model file", repaint.spec.BaseModelName, repaint.spec.ReplaceMask, id,
                         name);
}

Status airName(const RepaintInputs& repaint, std::string_view id, std::string& name) {
    return variationName(repaint, "flight-model file", repaint.spec.BaseAirName, repaint.spec.ReplaceAirMask,
                         id, name);
}

Status variationTextureName(const RepaintInputs& repaint, std::size_t index, std::string_view id,
                            std::string& name) {
    assert(index < repaint.spec.Textures.size());
    const TextureSpec& t = repaint.spec.Textures[index];
    if (repaint.spec.TextureAssignOnly == 1) {
        name = trim(t.BaseTextureName);
        return Status::Ok();
    }
    return variationName(repaint, "texture", t.BaseTextureName, t.ReplaceMask, id, name);
}

} // namespace livrano
