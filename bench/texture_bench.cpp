// SPDX-License-Identifier: MIT
// The texture pass measured: our DXT3 encoder side by side with libsquish's colour fits, stb_dxt
// and nvcompress on generated pictures (processor seconds per texture on one core, wall seconds
// on every core, colour PSNR, alpha exactness); the converter against cp; builds of a
// four-texture aircraft from a photographic template (against another version's when given),
// where their time goes, and their cost against template size, texture count and repetition; the
// paint kit's guide picture.
//
// livrano_texture_bench [size] [--base DIR] [--convert-only | --guide-only]
//   size: pictures and textures of size x size (default 2048)
//   DIR: livrano-cli and livrano_build_once of another version (scripts/bench-against.sh)
//   --convert-only, --guide-only: the converter against cp, or the paint kit's guide picture, alone

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring> // stb_dxt uses memcpy without including it

#if __has_include(<stb/stb_dxt.h>)
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>
#define BENCH_HAS_STB 1
#endif

#include "app/file_bytes.h"
#include "app/headless_frontend.h"
#include "app/little_endian.h"
#include "output/application.h"
#include "paint_pictures.h"
#include "processor_time.h"
#include "squish_fits.h"
#include "texture/bitmap_surfaces.h"
#include "texture/bmp_writer.h"
#include "texture/dxt3_image.h"
#include "texture/dxt_decoder.h"
#include "texture/guide_picture.h"
#include "texture/texture_composition.h"
#include "texture/texture_converter.h"

namespace {

namespace fs = std::filesystem;
using namespace livrano;
using Clock = std::chrono::steady_clock;

// A step the benchmark cannot go on without (its own input files, a step it times): every number
// after its failure would be meaningless.
void mustSucceed(const Status& status) {
    if (status)
        return;
    std::fprintf(stderr, "livrano_texture_bench: %s\n", status.text().c_str());
    std::exit(1);
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of this process, or of its finished children: the one-core times, which
// other work on a shared machine disturbs less than it does the clock on the wall.
using bench::processorSeconds;

unsigned cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// How one encoder did on one picture; nullopt fields are not measured ("-").
struct Outcome {
    std::optional<double> oneCore, allCores, psnr;
    long alphaMisses = 0;
    std::string missing; // why the peer could not run
};

// Texels whose decoded alpha is not the nearest 4-bit step of the original.
long alphaMisses(const RgbaImage& original, const RgbaImage& decoded) {
    long misses = 0;
    for (std::size_t i = 3; i < original.rgba.size(); i += 4)
        misses += decoded.rgba[i] != (original.rgba[i] + 8) / 17 * 17;
    return misses;
}

void judge(const RgbaImage& picture, const std::vector<std::uint8_t>& blocks, Outcome& o) {
    const RgbaImage decoded = decompressDxt(DxtFormat::Dxt3, blocks, picture.width, picture.height);
    o.psnr = colourPsnr(decoded, picture);
    o.alphaMisses = alphaMisses(picture, decoded);
}

// One core's processor time and, with `allCores`, the wall time on every core.
Outcome encoded(const RgbaImage& picture, ColourBlockEncoder encoder, bool allCores) {
    Outcome o;
    const double processor = processorSeconds(RUSAGE_SELF);
    const std::vector<std::uint8_t> blocks = compressDxt3(picture, encoder, 1);
    o.oneCore = processorSeconds(RUSAGE_SELF) - processor;
    if (allCores) {
        const Clock::time_point start = Clock::now();
        compressDxt3(picture, encoder, 0);
        o.allCores = secondsSince(start);
    }
    judge(picture, blocks, o);
    return o;
}

#ifdef BENCH_HAS_STB
// stb_dxt's high-quality colour block with our alpha half, rows of blocks shared by `threads`.
std::vector<std::uint8_t> stbBlocks(const RgbaImage& picture, unsigned threads) {
    const int across = (picture.width + 3) / 4, down = (picture.height + 3) / 4;
    std::vector<std::uint8_t> out(dxt3LevelSize(picture.width, picture.height));
    auto rows = [&](int first, int last) {
        std::uint8_t texels[64];
        for (int by = first; by < last; ++by) {
            for (int bx = 0; bx < across; ++bx) {
                for (int i = 0; i < 16; ++i) {
                    const int x = std::min(bx * 4 + i % 4, picture.width - 1);
                    const int y = std::min(by * 4 + i / 4, picture.height - 1);
                    std::copy_n(picture.pixel(x, y), 4, texels + std::size_t(i) * 4);
                }
                std::uint8_t* block = out.data() + (std::size_t(by) * across + bx) * 16;
                for (int i = 0; i < 8; ++i)
                    block[i] = std::uint8_t((texels[i * 8 + 3] + 8) / 17 | (texels[i * 8 + 7] + 8) / 17 << 4);
                stb_compress_dxt_block(block + 8, texels, 0, STB_DXT_HIGHQUAL);
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(rows, down * int(t) / int(threads), down * int(t + 1) / int(threads));
    rows(0, down / int(threads));
    for (std::thread& t : pool)
        t.join();
    return out;
}
#endif

Outcome stb(const RgbaImage& picture) {
    Outcome o;
#ifdef BENCH_HAS_STB
    const double processor = processorSeconds(RUSAGE_SELF);
    const std::vector<std::uint8_t> blocks = stbBlocks(picture, 1);
    o.oneCore = processorSeconds(RUSAGE_SELF) - processor;
    const Clock::time_point start = Clock::now();
    stbBlocks(picture, cores());
    o.allCores = secondsSince(start);
    judge(picture, blocks, o);
#else
    (void)picture;
    o.missing = "missing (stb/stb_dxt.h, Debian libstb-dev, was not found when the benchmark was built)";
#endif
    return o;
}

// nvcompress on a 32-bit TGA of the picture, timed as a whole run of the program (it reads the
// file, encodes on one thread and writes the DDS): its processor seconds, and the same for all
// cores, as it uses one.
Outcome nvcompress(const RgbaImage& picture, const fs::path& folder, bool fast) {
    Outcome o;
    if (std::system("command -v nvcompress >/dev/null 2>&1") != 0) {
        o.missing = "missing (nvcompress, Debian libnvtt-bin, is not installed)";
        return o;
    }
    const fs::path tga = folder / "picture.tga", dds = folder / "picture.dds";
    std::vector<std::uint8_t> file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int v : {picture.width, picture.height})
        appendLe16(file, static_cast<std::uint32_t>(v));
    file.insert(file.end(), {32, 0x28}); // 8 alpha bits, rows top-down
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4)
        file.insert(file.end(),
                    {picture.rgba[i + 2], picture.rgba[i + 1], picture.rgba[i], picture.rgba[i + 3]});
    mustSucceed(replaceFileBytes(tga, file));
    const std::string command = std::string("nvcompress -bc2 -nomips ") + (fast ? "-fast " : "") + "'" +
                                tga.string() + "' '" + dds.string() + "' >/dev/null 2>&1";
    const double processor = processorSeconds(RUSAGE_CHILDREN);
    const int status = std::system(command.c_str());
    o.oneCore = o.allCores = processorSeconds(RUSAGE_CHILDREN) - processor;
    const auto written = readFileBytes(dds);
    if (status != 0 || !written || written->size() < 128 + dxt3LevelSize(picture.width, picture.height)) {
        o.missing = "failed (nvcompress wrote no DXT3 file)";
        o.oneCore.reset();
        o.allCores.reset();
        return o;
    }
    judge(picture, std::vector<std::uint8_t>(written->begin() + 128, written->end()), o);
    return o;
}

std::string cell(const std::optional<double>& v, const char* format) {
    if (!v)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, *v);
    return text;
}

// One row of the table per encoder and picture, then the targets' ratios per picture. libsquish's
// iterative cluster fit and nvcompress's slow mode are left out: neither is a target, and on this
// machine they took more than half of the benchmark's time.
void encoderTable(int size, const fs::path& folder) {
    std::printf("## Encoders, %dx%d, %u cores\n\n", size, size, cores());
    std::printf(
        "| picture | encoder | s, one core (processor time) | s, all cores (wall) | colour PSNR dB | alpha texels off |\n");
    std::printf("|---|---|---|---|---|---|\n");
    struct Entry {
        const char* name;
        std::function<Outcome(const RgbaImage&)> run;
    };
    const std::vector<Entry> entries = {
        {"livrano (ours)", [](const RgbaImage& p) { return encoded(p, encodeColourBlock, true); }},
        {"libsquish range fit", [](const RgbaImage& p) { return encoded(p, bench::squishRangeFit, false); }},
        {"libsquish cluster fit",
         [](const RgbaImage& p) { return encoded(p, bench::squishClusterFit, false); }},
        {"stb_dxt high quality", stb},
        {"nvcompress -bc2 -fast", [&](const RgbaImage& p) { return nvcompress(p, folder, true); }},
    };
    std::vector<std::string> verdicts;
    for (const bench::NamedPicture& named : bench::paintPictures()) {
        const RgbaImage picture = named.make(size);
        std::vector<Outcome> outcomes;
        for (const Entry& e : entries) {
            outcomes.push_back(e.run(picture));
            const Outcome& o = outcomes.back();
            if (!o.missing.empty())
                std::printf("| %s | %s | %s | | | |\n", named.name.c_str(), e.name, o.missing.c_str());
            else
                std::printf("| %s | %s | %s | %s | %s | %ld |\n", named.name.c_str(), e.name,
                            cell(o.oneCore, "%.3f").c_str(), cell(o.allCores, "%.3f").c_str(),
                            cell(o.psnr, "%.2f").c_str(), o.alphaMisses);
            std::fflush(stdout);
        }
        if (!named.photographic)
            continue;
        const Outcome &own = outcomes[0], &cluster = outcomes[2];
        char line[400];
        std::snprintf(
            line, sizeof line,
            "- %s: PSNR %+.2f dB against cluster fit (target >= -0.05: %s), %.1fx its one-core speed (target >= 20x: %s)",
            named.name.c_str(), *own.psnr - *cluster.psnr,
            *own.psnr >= *cluster.psnr - 0.05 ? "met" : "MISSED", *cluster.oneCore / *own.oneCore,
            *cluster.oneCore >= 20 * *own.oneCore ? "met" : "MISSED");
        verdicts.push_back(line);
    }
    std::printf("\nTargets, per photographic picture:\n\n");
    for (const std::string& v : verdicts)
        std::printf("%s\n", v.c_str());
}

// What a program run cost: processor seconds of the process (all its threads), and what it printed.
struct Run {
    double processor = 0;
    std::string output;
    bool ok = false;
};

Run run(const std::vector<std::string>& argv) {
    Run r;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return r;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        std::vector<char*> args;
        args.reserve(argv.size() + 1);
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        r.output.append(buffer, std::size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return r;
    r.processor = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

// A template of width x height and its alpha companion, written as BMP files: the photograph-like
// mix, mirrored where the template is larger than the picture, its middle rows (the horizon) kept
// where it is smaller.
fs::path writeTemplate(const RgbaImage& picture, int width, int height, const fs::path& folder) {
    const int p = picture.width;
    auto mirror = [p](int v) {
        v %= 2 * p;
        return v < p ? v : 2 * p - 1 - v;
    };
    Bitmap colour{width, height, 3, std::vector<std::uint8_t>(std::size_t(width) * height * 3), {}};
    Bitmap alpha{width, height, 1, std::vector<std::uint8_t>(std::size_t(width) * height), greyRamp()};
    const int top = std::max(0, (p - height) / 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* texel = picture.pixel(mirror(x), mirror(y + top));
            const std::size_t i = std::size_t(y) * width + x;
            colour.pixels[i * 3] = texel[2];
            colour.pixels[i * 3 + 1] = texel[1];
            colour.pixels[i * 3 + 2] = texel[0];
            alpha.pixels[i] = static_cast<std::uint8_t>(x * 255 / width);
        }
    }
    fs::path file = folder / ("template" + std::to_string(width) + ".bmp");
    mustSucceed(replaceFileBytes(file, encodeBmp24(colour)));
    mustSucceed(replaceFileBytes(folder / ("template" + std::to_string(width) + "_a.bmp"),
                                 encodeBmp8(alpha, alpha.palette)));
    return file;
}

// The processor seconds of each build a livrano_build_once run printed, and its peak memory.
struct Builds {
    std::vector<double> seconds;
    long peakKb = 0;
};

std::optional<Builds> buildOnce(const std::string& program, const fs::path& templateFile, int textures,
                                const char* format, int builds = 1) {
    const Run r =
        run({program, templateFile.string(), std::to_string(textures), format, std::to_string(builds)});
    if (!r.ok)
        return std::nullopt;
    Builds b;
    std::size_t at = 0;
    while (at < r.output.size()) {
        const std::size_t end = r.output.find('\n', at);
        const std::string line = r.output.substr(at, end - at);
        if (line.starts_with("peak_kb "))
            b.peakKb = std::atol(line.c_str() + 8);
        else
            b.seconds.push_back(std::atof(line.c_str()));
        at = end == std::string::npos ? r.output.size() : end + 1;
    }
    return b;
}

// `convert --format argb32` of a size x size picture against cp of the same bytes (the two
// bitmaps), best of five processor times each, alternating; with a base, its converter too.
void convertAgainstCp(const RgbaImage& picture, int size, const fs::path& folder, const std::string& base) {
    Bitmap colour{size, size, 3, std::vector<std::uint8_t>(std::size_t(size) * size * 3), {}};
    Bitmap alpha{size, size, 1, std::vector<std::uint8_t>(std::size_t(size) * size), greyRamp()};
    for (std::size_t i = 0; i < alpha.pixels.size(); ++i) {
        for (int c = 0; c < 3; ++c)
            colour.pixels[i * 3 + c] = picture.rgba[i * 4 + 2 - c];
        alpha.pixels[i] = picture.rgba[i * 4 + 3];
    }
    const fs::path c = folder / "colour.bmp", a = folder / "alpha.bmp", copies = folder / "copies";
    mustSucceed(replaceFileBytes(c, encodeBmp24(colour)));
    mustSucceed(replaceFileBytes(a, encodeBmp8(alpha, alpha.palette)));
    fs::create_directories(copies);
    struct Contender {
        std::string name;
        std::vector<std::string> argv;
        double best = 1e9;
    };
    std::vector<Contender> contenders = {
        {"cp of the two bitmaps", {"/bin/cp", c.string(), a.string(), copies.string()}},
        {"livrano-cli convert --format argb32",
         {LIVRANO_CLI_PATH, "convert", "--format", "argb32", "--force", c.string(), a.string(),
          (folder / "out.bmp").string()}}};
    if (!base.empty())
        contenders.push_back({"the same, base version",
                              {base + "/livrano-cli", "convert", "--format", "argb32", "--force", c.string(),
                               a.string(), (folder / "out-base.bmp").string()}});
    for (int round = 0; round < 5; ++round)
        for (Contender& k : contenders)
            k.best = std::min(k.best, run(k.argv).processor);
    std::printf(
        "\n## The converter against cp, %dx%d (processor s, best of 5)\n\n| run | processor s |\n|---|---|\n",
        size, size);
    for (const Contender& k : contenders)
        std::printf("| %s | %.4f |\n", k.name.c_str(), k.best);
    std::printf("\nconvert took %.1fx the processor time of cp (target <= 5x: %s).\n",
                contenders[1].best / contenders[0].best,
                contenders[1].best <= 5 * contenders[0].best ? "met" : "MISSED");
}

// Four textures of size x size from a 2 size x size template, DXT3 and 32-bit, best of five
// processor times, this version and the base's alternating.
void buildComparison(const fs::path& templateFile, const std::string& base) {
    std::printf(
        "\n## A four-texture build from a photographic template (processor s of the build, best of 5)\n\n| format | this version | base version | change |\n|---|---|---|---|\n");
    for (const char* format : {"dxt3", "argb32"}) {
        double ours = 1e9, theirs = 1e9;
        for (int round = 0; round < 5; ++round) {
            if (const auto b = buildOnce(LIVRANO_BUILD_ONCE_PATH, templateFile, 4, format))
                ours = std::min(ours, b->seconds.at(0));
            if (!base.empty())
                if (const auto b = buildOnce(base + "/livrano_build_once", templateFile, 4, format))
                    theirs = std::min(theirs, b->seconds.at(0));
        }
        if (base.empty())
            std::printf("| %s | %.3f | - | - |\n", format, ours);
        else
            std::printf("| %s | %.3f | %.3f | %+.0f%% |\n", format, ours, theirs, 100 * (ours / theirs - 1));
    }
}

// Four DXT3 textures of the template's height, each from two overlapping sections of it, added
// to the aircraft configuration, and the jobs that build them into `textureFolder`.
TextureJobs addSplitTextures(AircraftSpec& spec, std::int16_t side, const fs::path& textureFolder) {
    const auto half = static_cast<std::int16_t>(side / 2);
    TextureJobs jobs;
    for (int t = 0; t < 4; ++t) {
        const auto left = static_cast<std::int16_t>(t * side / 3);
        TextureSpec texture;
        texture.BaseTextureName = "SPLIT_" + std::to_string(t + 1);
        texture.TextureSizeX = texture.TextureSizeY = side;
        texture.TextureFormat = kFormatDxt3;
        texture.Sections = {{left, 0, static_cast<std::int16_t>(left + side), side, 0, 0, side, side},
                            {0, 0, side, static_cast<std::int16_t>(side / 4), 0, half, half, side}};
        texture.NumSectionsOnTexture = 2;
        spec.Textures.push_back(texture);
        jobs.textures.push_back({std::size_t(t), texture.BaseTextureName, "",
                                 textureFolder / (texture.BaseTextureName + ".bmp")});
    }
    spec.NumTextures = 4;
    return jobs;
}

constexpr std::size_t kSplitSteps = 4;

// Adds to `step` the processor seconds of each step of the pass, over every texture of the
// aircraft configuration.
void timeSplitSteps(Application& app, HeadlessFrontend& frontend, double (&step)[kSplitSteps]) {
    for (std::size_t i = 0; i < app.spec.Textures.size(); ++i) {
        FreeWorkSurfaces(app.surfaces);
        std::vector<std::uint8_t> file;
        const std::function<void()> work[kSplitSteps] = {
            [&] {
                ComposeTexture24(app.spec.Textures[i], app.surfaces, frontend);
                ComposeAlpha8(app.spec.Textures[i], app.surfaces);
            },
            [&] {
                SaveBitmap24(app.surfaces, app.programFolder, "SPLIT_c");
                SaveBitmap8(app.surfaces, app.programFolder, "SPLIT_a", true);
            },
            [&] {
                RgbaImage image;
                mustSucceed(composeTextureImage(app.surfaces.WorkSurface24.bitmap,
                                                app.surfaces.WorkSurface8.bitmap, image));
                file = encodeTexture(image, TextureContainer::FsBitmap, {});
            },
            [&] { mustSucceed(replaceFileBytes(tempBitmapPath(app.programFolder, "SPLIT"), file)); }};
        for (std::size_t s = 0; s < kSplitSteps; ++s) {
            const double processor = processorSeconds(RUSAGE_SELF);
            work[s]();
            step[s] += processorSeconds(RUSAGE_SELF) - processor;
        }
    }
}

void printSplit(const double (&best)[kSplitSteps], double whole) {
    const char* names[kSplitSteps] = {"composition (with the preview)", "intermediate bitmaps written",
                                      "encoding (picture from memory, DXT3)", "texture files written"};
    std::printf("\n## Where a four-texture DXT3 build's processor time goes (best of 3)\n\n"
                "| step (4 textures) | processor s | share |\n|---|---|---|\n");
    double steps = 0;
    for (std::size_t s = 0; s < kSplitSteps; ++s) {
        steps += best[s];
        std::printf("| %s | %.3f | %.0f%% |\n", names[s], best[s], 100 * best[s] / whole);
    }
    std::printf(
        "| the rest (names, moving, freeing): a one-thread build's %.3f s less the steps' | %.3f | %.0f%% |\n",
        whole, whole - steps, 100 * (whole - steps) / whole);
}

// The steps of one build's compose-and-convert pass, one after the other and each timed
// (processor seconds, best of three builds), against a whole build on one thread.
void buildSplit(const fs::path& templateFile) {
    HeadlessFrontend frontend;
    const fs::path root =
        fs::temp_directory_path() / ("livrano-bench-" + std::to_string(std::random_device{}()));
    Application app{root / "Sim/Corvane Software/Livrano", frontend};
    const fs::path textureFolder = root / "Sim/Aircraft/BENCH/Texture.bench";
    fs::create_directories(app.programFolder / "TempBitmaps");
    fs::create_directories(textureFolder);
    fs::path alphaFile = templateFile;
    alphaFile.replace_filename(templateFile.stem().string() + "_a.bmp");
    LoadBitmap24(app.surfaces, templateFile);
    LoadBitmap8(app.surfaces, alphaFile);
    app.surfaces.AlphaLoaded = true;
    app.spec.AircraftDirectory = "BENCH";
    app.spec.TextureAssignOnly = 1;
    app.settings.FolderExtension = "bench";
    const TextureJobs jobs = addSplitTextures(
        app.spec, static_cast<std::int16_t>(app.surfaces.TemplateSurface24.bitmap.height), textureFolder);
    double best[kSplitSteps] = {1e9, 1e9, 1e9, 1e9};
    double whole = 1e9;
    for (int round = 0; round < 3; ++round) {
        double step[kSplitSteps] = {};
        timeSplitSteps(app, frontend, step);
        for (std::size_t s = 0; s < kSplitSteps; ++s)
            best[s] = std::min(best[s], step[s]);
        const double processor = processorSeconds(RUSAGE_SELF);
        BuildTextures(app.spec, app.surfaces, frontend, app.programFolder, jobs, {.threads = 1});
        whole = std::min(whole, processorSeconds(RUSAGE_SELF) - processor);
    }
    printSplit(best, whole);
    std::error_code ec;
    fs::remove_all(root, ec);
}

// Processor time and peak memory of a DXT3 build against template size and texture count, each
// in a process of its own (best of 3), then of 50 builds into one aircraft.
void costCurve(const RgbaImage& picture, const fs::path& folder) {
    std::printf(
        "\n## Cost of a DXT3 build (a process each, best of 3)\n\n"
        "| template | textures | texture pixels (M) | processor s | processor s per M texture pixels | peak MB |\n|---|---|---|---|---|---|\n");
    for (const auto& [width, height] : {std::pair{1024, 512}, {2048, 1024}, {4096, 2048}}) {
        const fs::path file = writeTemplate(picture, width, height, folder);
        for (int textures : {1, 4, 16}) {
            double best = 1e9;
            long peak = 0;
            for (int round = 0; round < 3; ++round) {
                if (const auto b = buildOnce(LIVRANO_BUILD_ONCE_PATH, file, textures, "dxt3")) {
                    best = std::min(best, b->seconds.at(0));
                    peak = b->peakKb;
                }
            }
            const double pixels = double(textures) * height * height / 1e6;
            std::printf("| %dx%d | %d | %.1f | %.3f | %.4f | %.0f |\n", width, height, textures, pixels, best,
                        best / pixels, double(peak) / 1024.0);
            std::fflush(stdout);
        }
    }
    const fs::path file = folder / "template1024.bmp";
    if (const auto b = buildOnce(LIVRANO_BUILD_ONCE_PATH, file, 4, "dxt3", 50)) {
        auto mean = [&](std::size_t from, std::size_t to) {
            double sum = 0;
            for (std::size_t i = from; i < to; ++i)
                sum += b->seconds.at(i);
            return sum / double(to - from);
        };
        std::printf(
            "\n50 successive four-texture builds from the 1024x512 template into one aircraft, one process: builds 1-10 took %.4f processor s each on average, 21-30 %.4f, 41-50 %.4f; peak memory %.0f MB.\n",
            mean(0, 10), mean(20, 30), mean(40, 50), double(b->peakKb) / 1024.0);
    }
}

// The paint kit's guide picture of an 8192x6144 template holding twelve 2048x2048 textures, made a
// row at a time and compressed at zlib level 1 as the kit does.
void guidePicture() {
    std::vector<GuideBox> boxes;
    boxes.reserve(12);
    for (int i = 0; i < 12; ++i)
        boxes.push_back(
            {i % 4 * 2048, i / 4 * 2048, 2048, 2048, "TEXTURE_" + std::to_string(i + 1) + ".bmp"});
    std::vector<std::uint8_t> png;
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const double processor = processorSeconds(RUSAGE_SELF);
        mustSucceed(encodeGuidePng(8192, 6144, boxes, 1, png));
        best = std::min(best, processorSeconds(RUSAGE_SELF) - processor);
    }
    std::printf("\n## The paint kit's guide picture (processor s, best of 3)\n\n"
                "| picture | processor s | PNG bytes |\n|---|---|---|\n"
                "| guide 8192x6144, 12 boxes, zlib level 1 | %.3f | %zu |\n",
                best, png.size());
}

// The machine's load average over the last minute: on a shared machine, wall times are only
// as good as the quiet they were measured in.
std::string loadAverage() {
    const auto bytes = readFileBytes("/proc/loadavg");
    return bytes ? std::string(bytes->begin(), std::find(bytes->begin(), bytes->end(), ' ')) : "unknown";
}

} // namespace

int main(int argc, char** argv) {
    int size = 2048;
    std::string base;
    bool convertOnly = false, guideOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--base" && i + 1 < argc)
            base = argv[++i];
        else if (std::string(argv[i]) == "--convert-only")
            convertOnly = true;
        else if (std::string(argv[i]) == "--guide-only")
            guideOnly = true;
        else
            size = std::atoi(argv[i]);
    }
    if (size < 16 || size > 8192 || size % 16 != 0) {
        std::fprintf(stderr, "usage: livrano_texture_bench [size: a multiple of 16 up to 8192] [--base DIR] "
                             "[--convert-only | --guide-only]\n");
        return 2;
    }
    const Clock::time_point start = Clock::now();
    std::printf("Load average at the start: %s\n\n", loadAverage().c_str());
    if (guideOnly) { // the guide picture alone, a few seconds
        guidePicture();
        return 0;
    }
    const fs::path folder =
        fs::temp_directory_path() / ("livrano-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    const RgbaImage photo = bench::photoMix(size);
    if (convertOnly) { // the converter against cp alone, a few seconds
        convertAgainstCp(photo, size, folder, base);
        fs::remove_all(folder);
        return 0;
    }
    encoderTable(size, folder);
    convertAgainstCp(photo, size, folder, base);
    const fs::path buildTemplate = writeTemplate(photo, 2 * size, size, folder);
    buildComparison(buildTemplate, base);
    buildSplit(buildTemplate);
    costCurve(photo, folder);
    guidePicture();
    fs::remove_all(folder);
    std::printf("\nThe benchmark ran %.0f s; load average at the end: %s.\n", secondsSince(start),
                loadAverage().c_str());
    return 0;
}
