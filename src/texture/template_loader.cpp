#include "texture/template_loader.h"

#include <system_error>

#include "app/file_names.h"
#include "app/text.h"
#include "texture/bitmap_surfaces.h"

namespace livrano {

namespace fs = std::filesystem;

std::string alphaCompanionPath(std::string_view templatePath) {
    const std::string path = trim(templatePath);
    return path.substr(0, path.size() < 4 ? 0 : path.size() - 4) + "_a.bmp";
}

bool LoadTemplateBitmaps(Application& app, const std::string& colourPath, const std::string& alphaPath) {
    FreeTemplateSurfaces(app.surfaces);
    if (!LoadBitmap24(app.surfaces, fs::path(colourPath)))
        return false;
    if (app.spec.UseAlpha == 1 && LoadBitmap8(app.surfaces, fs::path(alphaPath)))
        app.flags.AlphaLoaded = true;
    return true;
}

Status LoadTemplate(Application& app, const std::string& templatePath) {
    Frontend& frontend = app.frontend;
    frontend.setStatusText("Loading Texture Template File");
    frontend.setBusy(true);
    app.flags.AlphaLoaded = false;

    std::string alphaPath;
    if (app.spec.UseAlpha == 1) {
        // The template may come from a case-sensitive disk where the companion is B737_A.BMP.
        const fs::path companion = resolveCaseless(fs::path(alphaCompanionPath(templatePath)));
        std::error_code ec;
        if (fs::is_regular_file(companion, ec)) {
            alphaPath = companion.string();
            frontend.setAlphaPreviewAvailable(true);
        } else {
            alphaPath = "IGNORE";
            frontend.setStatusText("No Alpha Channel Bitmap Found");
            frontend.setBusy(false);
            frontend.setAlphaPreviewAvailable(false);
            frontend.showMessage(kNoAlphaCompanionMessage);
        }
    }

    const std::string colourPath = resolveCaseless(fs::path(templatePath)).string();
    const bool loaded = LoadTemplateBitmaps(app, colourPath, alphaPath);
    frontend.templateLoaded();
    frontend.setBusy(false);
    frontend.updateStatusLine();
    if (!loaded)
        return Status::Error("The template " + templatePath + " cannot be read as a BMP file.");
    return Status::Ok();
}

} // namespace livrano
