// SPDX-License-Identifier: MIT
#include "output/texture_rebuild.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "aircraft/profile.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "output/aircraft_cfg.h"
#include "output/build_lock.h"
#include "output/interrupted_work.h"
#include "texture/template_loader.h"

namespace livrano {

namespace {

std::string sizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

PictureShape loadedPictureShape(const BitmapSurfaces& s) {
    PictureShape shape{s.TemplateSurface24.bitmap.width, s.TemplateSurface24.bitmap.height, s.AlphaLoaded, 0,
                       0};
    if (shape.alpha) {
        shape.alphaWidth = s.TemplateSurface8.bitmap.width;
        shape.alphaHeight = s.TemplateSurface8.bitmap.height;
    }
    return shape;
}

TextureRebuild RebuildTextures(const RepaintInputs& repaint, BitmapSurfaces& surfaces, Frontend& frontend,
                               const BuildPlan& plan, const std::string& templatePath,
                               const PictureShape& shape, FileOperations& files) {
    using Outcome = TextureRebuild::Outcome;
    TextureRebuild result;
    BuildLock lock;
    if (Status s = lock.acquire(repaint); !s)
        return {Outcome::Busy, s.text(), {}};
    // A rebuild killed by the painter leaves temporary files beside the textures it replaces.
    const InterruptedWork interrupted = findInterruptedWork(plan.aircraftFolder, repaint.programFolder);
    if (!interrupted.empty()) {
        const Status finished = finishInterruptedWork(interrupted, files);
        frontend.setStatus(interrupted.summary(true), finished ? std::string() : finished.text());
    }

    std::vector<FltsimEntry> entries;
    std::vector<ProfileSection> untitled;
    const std::optional<std::string> installed = readFileBytes(plan.installedCfg);
    std::string text;
    // A file no livery can be read from lists none: the livery is gone from it as much as removed.
    if (installed && installedCfgText(plan.installedCfg, *installed, text) &&
        !readFltsimEntries(ProfileDocument(std::move(text)), repaint.extraFields, entries, untitled))
        entries.clear();
    const FltsimEntry& built = plan.entry;
    const bool listed = std::any_of(entries.begin(), entries.end(), [&](const FltsimEntry& e) {
        return equalsNoCase(e.title, built.title) && equalsNoCase(e.texture, built.texture) &&
               equalsNoCase(e.model, built.model);
    });
    if (!listed)
        return {Outcome::LiveryGone,
                "the livery is no longer in " + plan.installedCfg.string() +
                    " as it was built (removed or replaced)",
                {}};

    if (Status s = LoadTemplate(repaint.spec, surfaces, frontend, templatePath); !s)
        return {Outcome::Unreadable, s.text(), {}};
    const PictureShape now = loadedPictureShape(surfaces);
    if (now.alpha != shape.alpha)
        return {Outcome::Unreadable, "the alpha companion cannot be read", {}};
    if (now.width != shape.width || now.height != shape.height || now.alphaWidth != shape.alphaWidth ||
        now.alphaHeight != shape.alphaHeight)
        return {Outcome::Unreadable,
                "the pictures are " + sizeText(now.width, now.height) + " and " +
                    sizeText(now.alphaWidth, now.alphaHeight) + " pixels, not " +
                    sizeText(shape.width, shape.height) + " and " +
                    sizeText(shape.alphaWidth, shape.alphaHeight) + " as when they were built",
                {}};
    TextureJobs jobs = plan.textures;
    jobs.extras.clear();
    result.report = BuildTextures(repaint.spec, surfaces, frontend, repaint.programFolder, jobs, {}, files);
    return result;
}

} // namespace livrano
