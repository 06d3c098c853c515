// SPDX-License-Identifier: MIT
#include "cli/watch_loop.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/save_watcher.h"
#include "cli/exit_status.h"
#include "cli/terminal_text.h"
#include "texture/template_loader.h"

namespace livrano::cli {

namespace fs = std::filesystem;

namespace {

std::string clockTime() {
    const std::time_t now = std::time(nullptr);
    char text[16] = "";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%H:%M:%S", local);
    return text;
}

} // namespace

int watchTemplate(const RepaintInputs& repaint, BitmapSurfaces& surfaces, Frontend& frontend,
                  const BuildPlan& plan, const fs::path& templateFile, const PictureShape& shape,
                  int settleMs) {
    catchInterrupts();
    std::vector<fs::path> files = {templateFile};
    if (repaint.spec.UseAlpha == 1)
        files.emplace_back(alphaCompanionPath(templateFile.string()));
    SaveWatcher watcher(files, settleMs);
    say(stdout, "\nWatching %s%s; each save rebuilds the textures. Ctrl-C ends.\n",
        templateFile.string().c_str(), files.size() > 1 ? " and its _a.bmp" : "");
    std::fflush(stdout);
    while (watcher.nextSave()) {
        const auto start = std::chrono::steady_clock::now();
        const TextureRebuild rebuild =
            RebuildTextures(repaint, surfaces, frontend, plan, templateFile.string(), shape);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        switch (rebuild.outcome) {
        case TextureRebuild::Outcome::Rebuilt:
            say(stdout, "%s  rebuilt %zu textures in %.1f s%s\n", clockTime().c_str(),
                rebuild.report.written.size(), seconds,
                rebuild.report.skipped.empty() ? "" : "; some were left out:");
            for (const std::string& why : rebuild.report.skipped)
                say(stdout, "    %s\n", why.c_str());
            break;
        case TextureRebuild::Outcome::Unreadable:
            say(stdout, "%s  not rebuilt, the last good textures stay: %s\n", clockTime().c_str(),
                rebuild.message.c_str());
            break;
        case TextureRebuild::Outcome::Busy:
            say(stdout, "%s  not rebuilt: %s\n", clockTime().c_str(), rebuild.message.c_str());
            break;
        case TextureRebuild::Outcome::LiveryGone:
            say(stderr, "livrano-cli build: watching stops: %s.\n", rebuild.message.c_str());
            return kUnusableInput;
        }
        std::fflush(stdout);
    }
    say(stdout, "Watching ended.\n");
    return kDone;
}

} // namespace livrano::cli
