#include "output/model_textures.h"

#include <string>
#include <system_error>

#include "aircraft/profile.h"

namespace livrano {

namespace fs = std::filesystem;

Status RenameModelTextures(Application& app, const BuildPlan& plan, FileOperations& files) {
    if (!plan.model)
        return Status::Ok();
    app.frontend.setStatusText("Renaming Textures in MDL");
    if (Status s = files.copyFile(plan.model->source, plan.model->destination); !s)
        return s;

    std::string bytes;
    std::error_code ec;
    if (fs::exists(plan.modelCfg, ec)) {
        if (Status s = files.readFile(plan.modelCfg, bytes); !s)
            return s;
    }
    ProfileDocument document(std::move(bytes));
    document.write("models", "normal", plan.modelName);
    if (Status s = files.replaceFile(plan.modelCfg, document.bytes()); !s)
        return s;

    return files.patchFile(plan.model->destination, plan.modelPatches);
}

} // namespace livrano
