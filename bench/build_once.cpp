// SPDX-License-Identifier: MIT
// One aircraft's textures built from a template, measured in a process of its own so that its
// peak memory is its own: the benchmark runs it for the cost curve, and the same source built
// against an older tree (scripts/bench-against.sh) runs beside it for the comparison.
//
// livrano_build_once TEMPLATE.bmp TEXTURES dxt3|argb32 [BUILDS]
//
// Loads TEMPLATE.bmp and its TEMPLATE_a.bmp companion, then builds TEXTURES textures (each a
// square of the template's height, cut from it in two sections, one scaled) BUILDS times (default
// 1) into the same aircraft. Prints the processor seconds of every build (all threads), one a
// line, then "peak_kb" and the program's peak resident memory. Only the texture pass's public
// interface is used, so that it builds against every version of it.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/headless_frontend.h"
#include "output/application.h"
#include "processor_time.h"
#include "texture/bitmap_surfaces.h"
#include "texture/texture_composition.h"

namespace {

namespace fs = std::filesystem;
using namespace livrano;

using bench::processorSeconds;

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: livrano_build_once TEMPLATE.bmp TEXTURES dxt3|argb32 [BUILDS]\n");
        return 2;
    }
    const fs::path templateFile = argv[1];
    const int textures = std::atoi(argv[2]);
    const bool dxt3 = std::string(argv[3]) == "dxt3";
    const int builds = argc > 4 ? std::atoi(argv[4]) : 1;
    const fs::path root =
        fs::temp_directory_path() / ("livrano-build-once-" + std::to_string(std::random_device{}()));
    HeadlessFrontend frontend;
    Application app{root / "Sim/Corvane Software/Livrano", frontend};
    fs::create_directories(app.programFolder / "TempBitmaps");
    fs::create_directories(root / "Sim/Aircraft/BENCH/Texture.bench");
    fs::path alphaFile = templateFile;
    alphaFile.replace_filename(templateFile.stem().string() + "_a.bmp");
    if (!LoadBitmap24(app.surfaces, templateFile) || !LoadBitmap8(app.surfaces, alphaFile)) {
        std::fprintf(stderr, "livrano_build_once: cannot load %s and its _a.bmp\n", argv[1]);
        return 1;
    }
    app.surfaces.AlphaLoaded = true;
    const int width = app.surfaces.TemplateSurface24.bitmap.width;
    const auto side = static_cast<std::int16_t>(app.surfaces.TemplateSurface24.bitmap.height);
    const auto half = static_cast<std::int16_t>(side / 2);
    app.spec.AircraftDirectory = "BENCH";
    app.spec.TextureAssignOnly = 1;
    app.settings.FolderExtension = "bench";
    TextureJobs jobs;
    for (int t = 0; t < textures; ++t) {
        // A square of the template 1:1, and over its lower left quarter a strip of the template
        // scaled down across and up along.
        const auto left = static_cast<std::int16_t>(t * (width - side) / std::max(1, textures - 1));
        TextureSpec texture;
        texture.BaseTextureName = "BENCH_" + std::to_string(t + 1);
        texture.TextureSizeX = texture.TextureSizeY = side;
        texture.TextureFormat = dxt3 ? "DXT3NM" : "32ANM";
        texture.Sections = {{left, 0, static_cast<std::int16_t>(left + side), side, 0, 0, side, side},
                            {0, 0, side, static_cast<std::int16_t>(side / 4), 0, half, half, side}};
        texture.NumSectionsOnTexture = 2;
        app.spec.Textures.push_back(texture);
        jobs.textures.push_back(
            {std::size_t(t), texture.BaseTextureName, "",
             root / "Sim/Aircraft/BENCH/Texture.bench" / (texture.BaseTextureName + ".bmp")});
    }
    app.spec.NumTextures = static_cast<std::int16_t>(textures);
    int status = 0;
    for (int b = 0; b < builds; ++b) {
        const double before = processorSeconds();
        const TextureBuildReport report =
            BuildTextures(app.spec, app.surfaces, frontend, app.programFolder, jobs);
        std::printf("%.4f\n", processorSeconds() - before);
        if (report.written.size() != std::size_t(textures)) {
            std::fprintf(stderr, "livrano_build_once: the build left textures out\n");
            status = 1;
        }
    }
    // The peak of this program's own memory: the kernel's resource count would also hold what the
    // process that started it had before it became this program.
    std::ifstream statusFile("/proc/self/status");
    for (std::string line; std::getline(statusFile, line);)
        if (line.starts_with("VmHWM:"))
            std::printf("peak_kb %ld\n", std::atol(line.c_str() + 6));
    std::error_code ec;
    fs::remove_all(root, ec);
    return status;
}
