// The texture pipeline on one 2048x2048 livery-like texture: composition from the template,
// the two intermediate bitmap writes, and the conversion to DXT3 with each of the encoder's
// colour fits (with the colour PSNR of the result), plus the 32-bit conversion for comparison.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "app/application.h"
#include "app/headless_frontend.h"
#include "texture/bitmap_surfaces.h"
#include "texture/byte_files.h"
#include "texture/dxt3_image.h"
#include "texture/texture_composition.h"
#include "texture/texture_converter.h"

namespace {

namespace fs = std::filesystem;
using namespace livrano;

constexpr int kSize = 2048;

// A template like a painted fuselage: a smooth sky-to-belly gradient, a cheat line of solid
// bands, a row of hard-edged "letters" and window dots, and an alpha that fades across the
// picture with hard reflective patches.
void paintLivery(Bitmap& colour, Bitmap& alpha) {
    colour = Bitmap{kSize, kSize, 3, std::vector<std::uint8_t>(std::size_t{kSize} * kSize * 3), {}};
    alpha = Bitmap{kSize, kSize, 1, std::vector<std::uint8_t>(std::size_t{kSize} * kSize), greyRamp()};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double r = 230 - 90.0 * y / kSize + 10 * std::sin(x / 300.0);
            double g = 235 - 60.0 * y / kSize;
            double b = 245 - 30.0 * y / kSize + 8 * std::cos(y / 170.0);
            if (y > 900 && y < 1000) // cheat line
                r = 200, g = 20, b = 40;
            else if (y >= 1000 && y < 1030)
                r = 250, g = 190, b = 0;
            const bool letterRow = y > 600 && y < 760 && x > 300 && x < 1700;
            if (letterRow && ((x / 40) % 3 != 0) && (((x / 8) ^ (y / 8)) % 5 != 0)) // block letters
                r = g = b = 20;
            if (y > 1200 && y < 1240 && (x % 64) < 28) // windows
                r = g = b = 35;
            std::uint8_t* c = colour.row(y) + x * 3;
            c[0] = static_cast<std::uint8_t>(std::clamp(b, 0.0, 255.0));
            c[1] = static_cast<std::uint8_t>(std::clamp(g, 0.0, 255.0));
            c[2] = static_cast<std::uint8_t>(std::clamp(r, 0.0, 255.0));
            int a = 40 + 180 * x / kSize;
            if (y > 1200 && y < 1240 && (x % 64) < 28)
                a = 255; // windows shine
            alpha.row(y)[x] = static_cast<std::uint8_t>(a);
        }
    }
}

// The program folder with its TempBitmaps folder, the template loaded and one texture of four
// sections: one half as it is, one quarter mirrored, one enlarged and the whole template halved.
struct Pipeline {
    fs::path root = fs::temp_directory_path() / ("livrano-bench-" + std::to_string(std::random_device{}()));
    HeadlessFrontend frontend;
    Application app{root, frontend};

    Pipeline() {
        frontend.setDxt3(true);
        fs::create_directories(root / "TempBitmaps");
        Surface& colour = app.surfaces.TemplateSurface24;
        Surface& alpha = app.surfaces.TemplateSurface8;
        paintLivery(colour.bitmap, alpha.bitmap);
        colour.Ready = alpha.Ready = true;
        app.flags.AlphaLoaded = true;
        TextureSpec t;
        t.BaseTextureName = "BENCH";
        t.TextureSizeX = kSize;
        t.TextureSizeY = kSize;
        t.TextureFormat = kFormatDxt3;
        t.Sections = {{0, 0, 2048, 1024, 0, 0, 2048, 1024},
                      {0, 1024, 1024, 2048, 2048, 1024, 1024, 2048},
                      {1024, 1024, 1536, 1536, 1024, 1024, 2048, 2048},
                      {0, 0, 2048, 2048, 0, 1024, 1024, 2048}};
        t.NumSectionsOnTexture = 4;
        app.spec.Textures = {t};
        app.spec.NumTextures = 1;
        ComposeTexture24(app, 0);
        ComposeAlpha8(app, 0);
        SaveBitmap24(app.surfaces, root, "BENCH_c");
        SaveBitmap8(app.surfaces, root, "BENCH_a", true);
    }
    ~Pipeline() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    fs::path temp(const char* name) const { return root / "TempBitmaps" / name; }
};

Pipeline& pipeline() {
    static Pipeline p;
    return p;
}

void BM_Composition(benchmark::State& state) {
    Pipeline& p = pipeline();
    for (auto _ : state) {
        FreeWorkSurfaces(p.app.surfaces);
        benchmark::DoNotOptimize(ComposeTexture24(p.app, 0));
        benchmark::DoNotOptimize(ComposeAlpha8(p.app, 0));
    }
}
BENCHMARK(BM_Composition)->Unit(benchmark::kMillisecond);

void BM_IntermediateWrites(benchmark::State& state) {
    Pipeline& p = pipeline();
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveBitmap24(p.app.surfaces, p.root, "BENCH_c"));
        benchmark::DoNotOptimize(SaveBitmap8(p.app.surfaces, p.root, "BENCH_a", true));
    }
    state.SetBytesProcessed(state.iterations() * (std::int64_t{kSize} * kSize * 4 + 54 + 1078));
}
BENCHMARK(BM_IntermediateWrites)->Unit(benchmark::kMillisecond);

// The converter from the two intermediate files to the finished texture, PSNR of the colour
// against the composed picture.
void convert(benchmark::State& state, TextureFormat format, ColourFit fit) {
    Pipeline& p = pipeline();
    TextureOptions options;
    options.format = format;
    options.fit = fit;
    for (auto _ : state) {
        const Status s = convertTexture(p.temp("BENCH_c.bmp"), p.temp("BENCH_a.bmp"), p.temp("BENCH.bmp"),
                                        TextureContainer::FsBitmap, options);
        if (!s)
            state.SkipWithError(s.message().c_str());
    }
    RgbaImage composed;
    DecodedTexture decoded;
    const auto file = readByteFile(p.temp("BENCH.bmp"));
    if (file && composeTextureImage(p.temp("BENCH_c.bmp"), p.temp("BENCH_a.bmp"), composed) &&
        decodeTexture(*file, decoded))
        state.counters["colour_psnr_db"] = colourPsnr(decoded.image, composed);
}

void BM_Dxt3RangeFit(benchmark::State& state) {
    convert(state, TextureFormat::Dxt3, ColourFit::Range);
}
void BM_Dxt3ClusterFit(benchmark::State& state) {
    convert(state, TextureFormat::Dxt3, ColourFit::Cluster);
}
void BM_Dxt3IterativeClusterFit(benchmark::State& state) {
    convert(state, TextureFormat::Dxt3, ColourFit::IterativeCluster);
}
void BM_Argb32(benchmark::State& state) {
    convert(state, TextureFormat::Argb32, ColourFit::Range);
}
BENCHMARK(BM_Dxt3RangeFit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dxt3ClusterFit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dxt3IterativeClusterFit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Argb32)->Unit(benchmark::kMillisecond)->UseRealTime();

// The block encoder alone over the composed picture, on one thread and on every core: what the
// fits cost without the file work around them, and what the second core brings.
void BM_Dxt3EncodeOnly(benchmark::State& state) {
    Pipeline& p = pipeline();
    static RgbaImage composed;
    if (composed.rgba.empty() &&
        !composeTextureImage(p.temp("BENCH_c.bmp"), p.temp("BENCH_a.bmp"), composed)) {
        state.SkipWithError("no intermediate bitmaps");
        return;
    }
    const auto fit = static_cast<ColourFit>(state.range(0));
    const auto threads = static_cast<unsigned>(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(compressDxt3(composed, fit, threads));
    const char* fitName = fit == ColourFit::Range     ? "range"
                          : fit == ColourFit::Cluster ? "cluster"
                                                      : "iterative cluster";
    state.SetLabel(std::string(fitName) + (threads == 1 ? ", one thread" : ", every core"));
}
BENCHMARK(BM_Dxt3EncodeOnly)->ArgsProduct({{0, 1, 2}, {1, 0}})->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
