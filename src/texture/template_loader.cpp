// SPDX-License-Identifier: MIT
#include "texture/template_loader.h"

#include <system_error>

#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"

namespace livrano {

namespace fs = std::filesystem;

std::string alphaCompanionPath(std::string_view templatePath) {
    const std::string path = trim(templatePath);
    return path.substr(0, path.size() < 4 ? 0 : path.size() - 4) + "_a.bmp";
}

bool LoadTemplateBitmaps(const AircraftSpec& spec, BitmapSurfaces& surfaces, const std::string& colourPath,
                         const std::string& alphaPath, std::string* fault) {
    FreeTemplateSurfaces(surfaces);
    if (!LoadBitmap24(surfaces, fs::path(colourPath), fault))
        return false;
    if (spec.UseAlpha == 1 && LoadBitmap8(surfaces, fs::path(alphaPath)))
        surfaces.AlphaLoaded = true;
    return true;
}

namespace {

// The sections are placed by the aircraft's template size: a picture of another size is still
// cut by those numbers (a 1x1 picture gives black textures), so the painter hears of it first.
void warnOfSize(const AircraftSpec& spec, Frontend& frontend, const char* what, const Surface& surface,
                const std::string& path) {
    const int width = spec.TemplateSizeX;
    const int height = spec.TemplateSizeY;
    if (surface.bitmap.width == width && surface.bitmap.height == height)
        return;
    frontend.showMessage("The " + std::string(what) + " " + utf8FromPath(path) + " is " +
                         std::to_string(surface.bitmap.width) + " x " +
                         std::to_string(surface.bitmap.height) + " pixels, but this aircraft's template is " +
                         std::to_string(width) + " x " + std::to_string(height) +
                         ": its textures will be cut from the wrong places.");
}

} // namespace

Status LoadTemplate(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                    const std::string& templatePath) {
    frontend.setStatusText("Loading Texture Template File");
    frontend.setBusy(true);
    surfaces.AlphaLoaded = false;

    std::string alphaPath;
    if (spec.UseAlpha == 1) {
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
    std::string why;
    const bool loaded = LoadTemplateBitmaps(spec, surfaces, colourPath, alphaPath, &why);
    // A companion that is there but cannot be used leaves the textures without reflections just
    // as a missing one does, and the painter is told the same.
    if (loaded && alphaPath != "IGNORE" && spec.UseAlpha == 1 && !surfaces.AlphaLoaded) {
        frontend.setStatusText("No Alpha Channel Bitmap Found");
        frontend.setAlphaPreviewAvailable(false);
        frontend.showMessage(kNoAlphaCompanionMessage);
    }
    if (loaded)
        warnOfSize(spec, frontend, "template", surfaces.TemplateSurface24, templatePath);
    if (surfaces.AlphaLoaded)
        warnOfSize(spec, frontend, "alpha companion", surfaces.TemplateSurface8, alphaPath);
    frontend.templateLoaded();
    frontend.setBusy(false);
    frontend.refreshStatusLine();
    if (!loaded) {
        return Status::Refused(
            "The template \"" + shortName(utf8FromPath(fs::path(templatePath).filename())) +
                "\" cannot be read as a BMP file: choose another template.",
            "The template " + utf8FromPath(templatePath) + " cannot be read as a BMP file: " + why + ".");
    }
    return Status::Ok();
}

} // namespace livrano
