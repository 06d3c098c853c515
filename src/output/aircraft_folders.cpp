#include "output/aircraft_folders.h"

#include <string>
#include <system_error>
#include <vector>

#include "app/file_names.h"
#include "app/text.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

Status CreateAircraftFolders(Application& app, FileOperations& files) {
    app.frontend.setStatusText("Creating Aircraft Directories");
    const fs::path aircraft = aircraftFolderPath(app);
    if (Status s = files.createDirectory(aircraft); !s)
        return s;
    const fs::path ownTextures = existingEntry(aircraft, "Texture." + folderExtension(app));
    switch (app.spec.TextureAssignOnly) {
    case 0:
        if (Status s = files.createDirectory(existingEntry(aircraft, "Texture")); !s)
            return s;
        if (Status s = files.createDirectory(modelFolder(app, variationId(app))); !s)
            return s;
        // The extra textures go to the variation's own texture folder whatever the kind of
        // aircraft; without it every one of them would fail to copy.
        if (copiesExtraTextures(app))
            return files.createDirectory(ownTextures);
        return Status::Ok();
    case 1:
        return files.createDirectory(ownTextures);
    default:
        return Status::Ok();
    }
}

Status CopyAirFile(Application& app, FileOperations& files) {
    std::string name;
    if (Status s = airName(app, variationId(app), name); !s)
        return s;
    const fs::path source = existingEntry(dataFolderPath(app), trim(app.spec.BaseAirName) + ".air");
    return files.copyFile(source, existingEntry(aircraftFolderPath(app), name + ".air"));
}

namespace {

// The aircraft's own files, from which every variation's copies are made: a replaced entry
// whose values happen to rebuild one of these names must not take them with it.
bool isBaseFile(const Application& app, const std::string& fileName) {
    if (equalsNoCase(fileName, trim(app.spec.BaseModelName) + ".mdl") ||
        equalsNoCase(fileName, trim(app.spec.BaseAirName) + ".air"))
        return true;
    for (const TextureSpec& t : app.spec.Textures) {
        if (equalsNoCase(fileName, trim(t.BaseTextureName) + ".bmp"))
            return true;
    }
    for (const std::string& extra : app.extraTextures.ExtraTextureNames) {
        if (equalsNoCase(fileName, trim(extra)))
            return true;
    }
    return false;
}

bool isSafe(const std::string& name) {
    return checkSafeFileName("name", name).ok();
}

} // namespace

void RemoveVariationFiles(Application& app, std::string_view model, std::string_view texture,
                          FileOperations& files, const std::vector<FltsimEntry>& otherEntries) {
    const fs::path aircraft = aircraftFolderPath(app);
    const std::string oldModel = trim(model);
    const std::string oldTexture = trim(texture);
    // An entry of this kind keeps its upper-case identifier as its model value.
    const std::string oldId = toUpper(oldModel);
    bool modelInUse = false;
    // The folder the extra textures are copied from is the aircraft's, whoever names it.
    bool textureInUse = equalsNoCase(oldTexture, trim(app.extraTextures.BaseTextureFolder));
    for (const FltsimEntry& e : otherEntries) {
        textureInUse = textureInUse || (!oldTexture.empty() && equalsNoCase(e.texture, oldTexture));
        modelInUse = modelInUse || equalsNoCase(e.model, oldModel);
    }

    auto deleteFile = [&](const fs::path& folder, const std::string& fileName) {
        if (isSafe(fileName) && !isBaseFile(app, fileName))
            (void)files.removeFile(existingEntry(folder, fileName));
    };
    auto deleteVariationFile = [&](const fs::path& folder, std::string_view what, std::string_view base,
                                   std::string_view mask, const char* extension) {
        std::string name;
        if (variationName(app, what, base, mask, oldId, name))
            deleteFile(folder, name + extension);
    };

    std::error_code ec;
    if (!oldTexture.empty()) {
        const std::string folderName = "Texture." + oldTexture;
        const fs::path folder = existingEntry(aircraft, folderName);
        if (!textureInUse && isSafe(folderName) && fs::is_directory(folder, ec)) {
            const fs::path thumbs = existingEntry(folder, "Thumbs.db");
            if (fs::exists(thumbs, ec))
                (void)files.makeDeletable(thumbs);
            std::vector<fs::path> contents;
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
                std::error_code kind;
                if (!it->is_directory(kind))
                    contents.push_back(it->path());
            }
            for (const fs::path& file : contents)
                (void)files.removeFile(file);
            (void)files.removeEmptyDirectory(folder);
        }
    } else if (!modelInUse) {
        const fs::path shared = existingEntry(aircraft, "Texture");
        for (const TextureSpec& t : app.spec.Textures)
            deleteVariationFile(shared, "texture", t.BaseTextureName, t.ReplaceMask, ".bmp");
    }

    // Another livery built from the same model value uses the same model and flight model.
    if (modelInUse)
        return;
    if (app.spec.TextureAssignOnly == 0) {
        const std::string folderName = "Model." + oldModel;
        const fs::path folder = existingEntry(aircraft, folderName);
        if (isSafe(folderName) && fs::is_directory(folder, ec)) {
            deleteFile(folder, "Model.cfg");
            deleteVariationFile(folder, "model file", app.spec.BaseModelName, app.spec.ReplaceMask, ".mdl");
            (void)files.removeEmptyDirectory(folder);
        }
    }

    if (app.spec.CopyRenameAirFile == 1)
        deleteVariationFile(aircraft, "flight-model file", app.spec.BaseAirName, app.spec.ReplaceAirMask,
                            ".air");
}

} // namespace livrano
