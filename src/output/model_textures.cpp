#include "output/model_textures.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "aircraft/profile.h"
#include "app/text.h"
#include "output/variation_layout.h"

namespace livrano {

namespace fs = std::filesystem;

Status modelPatches(const Application& app, std::string_view id, std::vector<FilePatch>& patches) {
    patches.clear();
    for (const TextureSpec& t : app.spec.Textures) {
        const std::size_t count = std::min<std::size_t>(
            static_cast<std::size_t>(std::max<std::int16_t>(t.NumMdlOffsets, 0)), t.MdlOffsets.size());
        if (count == 0)
            continue;
        std::string name;
        if (Status s = variationName(app, "texture", t.BaseTextureName, t.ReplaceMask, id, name); !s)
            return s;
        for (std::size_t k = 0; k < count; ++k) {
            const std::int32_t offset = t.MdlOffsets[k];
            if (offset < 1)
                return Status::Error("The model offset " + std::to_string(offset) + " of the texture \"" +
                                     trim(t.BaseTextureName) + "\" lies before the start of the model file.");
            patches.push_back({static_cast<std::uint64_t>(offset) - 1, name + ".bmp"});
        }
    }
    return Status::Ok();
}

Status RenameModelTextures(Application& app, FileOperations& files) {
    if (app.spec.TextureAssignOnly == 1)
        return Status::Ok();
    app.frontend.setStatusText("Renaming Textures in MDL");
    const std::string id = variationId(app);
    std::string name;
    if (Status s = modelName(app, id, name); !s)
        return s;
    std::vector<FilePatch> patches;
    if (Status s = modelPatches(app, id, patches); !s)
        return s;

    const fs::path folder = modelFolder(app, id);
    const fs::path model = existingEntry(folder, name + ".mdl");
    const fs::path source = existingEntry(dataFolderPath(app), trim(app.spec.BaseModelName) + ".mdl");
    if (Status s = files.copyFile(source, model); !s)
        return s;

    const fs::path modelCfg = existingEntry(folder, "Model.cfg");
    std::string bytes;
    std::error_code ec;
    if (fs::exists(modelCfg, ec)) {
        if (Status s = files.readFile(modelCfg, bytes); !s)
            return s;
    }
    ProfileDocument document(std::move(bytes));
    document.write("models", "normal", name);
    if (Status s = files.replaceFile(modelCfg, document.bytes()); !s)
        return s;

    return files.patchFile(model, patches);
}

} // namespace livrano
