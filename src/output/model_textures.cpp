// SPDX-License-Identifier: MIT
#include "output/model_textures.h"

#include <string>
#include <system_error>

#include "aircraft/profile.h"
#include "app/code_page.h"

namespace livrano {

namespace fs = std::filesystem;

Status RenameModelTextures(Frontend& frontend, const BuildPlan& plan, FileOperations& files) {
    if (!plan.model)
        return Status::Ok();
    frontend.setStatusText("Renaming Textures in MDL");
    // Patched in memory and written once: the copy is never on the disk with the old names.
    std::string model;
    if (Status s = files.readFile(plan.model->source, model); !s)
        return s;
    for (const FilePatch& p : plan.modelPatches) {
        if (p.position > model.size() || p.bytes.size() > model.size() - p.position)
            return Status::Error("Cannot patch \"" + utf8FromPath(plan.model->source) + "\": writing " +
                                 std::to_string(p.bytes.size()) + " bytes at byte " +
                                 std::to_string(p.position + 1) + " would pass its end at byte " +
                                 std::to_string(model.size()) + ".");
        model.replace(static_cast<std::size_t>(p.position), p.bytes.size(), p.bytes);
    }
    if (Status s = files.replaceFile(plan.model->destination, model); !s)
        return s;

    std::string bytes;
    std::error_code ec;
    if (fs::exists(plan.modelCfg, ec)) {
        if (Status s = files.readFile(plan.modelCfg, bytes); !s)
            return s;
    }
    ProfileDocument document(std::move(bytes));
    document.write("models", "normal", plan.modelName);
    return files.replaceFile(plan.modelCfg, document.bytes());
}

} // namespace livrano
