// The texture pass measured: our DXT3 encoder side by side with libsquish's three colour fits,
// stb_dxt and nvcompress on generated pictures (seconds per texture on one core and on every
// core, colour PSNR, alpha exactness), then the wall time of building a four-texture aircraft
// from a photographic template with our encoder and with libsquish's iterative cluster fit.
//
// livrano_texture_bench [size]   pictures and textures of size x size (default 2048)

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

#include <sys/resource.h>

#include <cstring> // stb_dxt uses memcpy without including it

#if __has_include(<stb/stb_dxt.h>)
#define STB_DXT_IMPLEMENTATION
#include <stb/stb_dxt.h>
#define BENCH_HAS_STB 1
#endif

#include "app/application.h"
#include "app/headless_frontend.h"
#include "paint_pictures.h"
#include "texture/bitmap_surfaces.h"
#include "texture/byte_files.h"
#include "texture/dxt3_image.h"
#include "texture/texture_composition.h"
#include "texture/texture_converter.h"

namespace {

namespace fs = std::filesystem;
using namespace livrano;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of this process, or of its finished children: the one-core times, which
// other work on a shared machine disturbs less than it does the clock on the wall.
double processorSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

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
    const RgbaImage decoded = decompressDxt3(blocks, picture.width, picture.height);
    o.psnr = colourPsnr(decoded, picture);
    o.alphaMisses = alphaMisses(picture, decoded);
}

Outcome ours(const RgbaImage& picture, BlockEncoder encoder) {
    Outcome o;
    const double processor = processorSeconds(RUSAGE_SELF);
    const std::vector<std::uint8_t> blocks = compressDxt3(picture, encoder, 1);
    o.oneCore = processorSeconds(RUSAGE_SELF) - processor;
    const Clock::time_point start = Clock::now();
    compressDxt3(picture, encoder, 0);
    o.allCores = secondsSince(start);
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
                    std::copy_n(picture.pixel(x, y), 4, texels + i * 4);
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
        file.insert(file.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    file.insert(file.end(), {32, 0x28}); // 8 alpha bits, rows top-down
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4)
        file.insert(file.end(),
                    {picture.rgba[i + 2], picture.rgba[i + 1], picture.rgba[i], picture.rgba[i + 3]});
    writeByteFile(tga, file);
    const std::string command = std::string("nvcompress -bc2 -nomips ") + (fast ? "-fast " : "") + "'" +
                                tga.string() + "' '" + dds.string() + "' >/dev/null 2>&1";
    const double processor = processorSeconds(RUSAGE_CHILDREN);
    const int status = std::system(command.c_str());
    o.oneCore = o.allCores = processorSeconds(RUSAGE_CHILDREN) - processor;
    const auto written = readByteFile(dds);
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

// One row of the table per encoder and picture, then the targets' ratios per picture.
void encoderTable(int size, const fs::path& folder) {
    std::printf("## Encoders, %dx%d, %u cores\n\n", size, size, cores());
    std::printf("| picture | encoder | s, one core (processor time) | s, all cores (wall) | colour PSNR dB | "
                "alpha texels off |\n");
    std::printf("|---|---|---|---|---|---|\n");
    struct Entry {
        const char* name;
        std::function<Outcome(const RgbaImage&)> run;
    };
    const std::vector<Entry> entries = {
        {"livrano (ours)", [](const RgbaImage& p) { return ours(p, BlockEncoder::Own); }},
        {"libsquish range fit", [](const RgbaImage& p) { return ours(p, BlockEncoder::SquishRange); }},
        {"libsquish cluster fit", [](const RgbaImage& p) { return ours(p, BlockEncoder::SquishCluster); }},
        {"libsquish iterative cluster fit",
         [](const RgbaImage& p) { return ours(p, BlockEncoder::SquishIterativeCluster); }},
        {"stb_dxt high quality", stb},
        {"nvcompress -bc2", [&](const RgbaImage& p) { return nvcompress(p, folder, false); }},
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
        const Outcome &own = outcomes[0], &cluster = outcomes[2], &nvFast = outcomes[6];
        char line[400];
        std::snprintf(line, sizeof line,
                      "- %s: PSNR %+.2f dB against cluster fit (target >= -0.10: %s), %.1fx its one-core "
                      "speed (target >= 10x: %s)",
                      named.name.c_str(), *own.psnr - *cluster.psnr,
                      *own.psnr >= *cluster.psnr - 0.1 ? "met" : "MISSED", *cluster.oneCore / *own.oneCore,
                      *cluster.oneCore >= 10 * *own.oneCore ? "met" : "MISSED");
        std::string verdict = line;
        if (nvFast.psnr) {
            std::snprintf(
                line, sizeof line,
                "; %+.2f dB against nvcompress -fast (target > 0: %s), its one-core time %.2fx ours",
                *own.psnr - *nvFast.psnr, *own.psnr > *nvFast.psnr ? "met" : "MISSED",
                *nvFast.oneCore / *own.oneCore);
            verdict += line;
        } else {
            verdict += "; nvcompress " + nvFast.missing;
        }
        verdicts.push_back(verdict);
    }
    std::printf("\nTargets, per photographic picture:\n\n");
    for (const std::string& v : verdicts)
        std::printf("%s\n", v.c_str());
}

// A program folder two levels below a simulator root, the aircraft's texture folder, and a
// template from a photographic picture, with four textures of the template's size cut from it.
struct Aircraft {
    fs::path root = fs::temp_directory_path() / ("livrano-bench-" + std::to_string(std::random_device{}()));
    HeadlessFrontend frontend;
    Application app{root / "Sim/Corvane Software/Livrano", frontend};
    TextureJobs jobs; // as a build's plan names them: the base names, in the variation's folder

    explicit Aircraft(int size) {
        fs::create_directories(app.programFolder / "TempBitmaps");
        fs::create_directories(root / "Sim/Aircraft/BENCH/Texture.bench");
        const RgbaImage picture = bench::photoNoise(size);
        Bitmap& colour = app.surfaces.TemplateSurface24.bitmap;
        Bitmap& alpha = app.surfaces.TemplateSurface8.bitmap;
        colour = Bitmap{size, size, 3, std::vector<std::uint8_t>(std::size_t(size) * size * 3), {}};
        alpha = Bitmap{size, size, 1, std::vector<std::uint8_t>(std::size_t(size) * size), greyRamp()};
        for (std::size_t i = 0; i < alpha.pixels.size(); ++i) {
            for (int c = 0; c < 3; ++c)
                colour.pixels[i * 3 + c] = picture.rgba[i * 4 + 2 - c];
            alpha.pixels[i] = picture.rgba[i * 4 + 3];
        }
        app.surfaces.TemplateSurface24.Ready = app.surfaces.TemplateSurface8.Ready = true;
        app.flags.AlphaLoaded = true;
        app.spec.AircraftDirectory = "BENCH";
        app.spec.TextureAssignOnly = 1;
        app.settings.FolderExtension = "bench";
        const auto s = static_cast<std::int16_t>(size), h = static_cast<std::int16_t>(size / 2);
        const std::vector<TextureSection> sections[4] = {
            {{0, 0, s, s, 0, 0, s, s}},
            {{0, 0, s, h, 0, 0, s, s}, {0, h, s, s, s, 0, 0, h}},
            {{h, h, s, s, 0, 0, s, s}},
            {{0, 0, h, s, 0, 0, s, s}, {h, 0, s, s, 0, h, h, s}}};
        for (int t = 0; t < 4; ++t) {
            TextureSpec texture;
            texture.BaseTextureName = "BENCH_" + std::to_string(t + 1);
            texture.TextureSizeX = texture.TextureSizeY = s;
            texture.TextureFormat = kFormatDxt3;
            texture.Sections = sections[t];
            texture.NumSectionsOnTexture = static_cast<std::int16_t>(sections[t].size());
            app.spec.Textures.push_back(texture);
            jobs.textures.push_back(
                {std::size_t(t), texture.BaseTextureName, "",
                 root / "Sim/Aircraft/BENCH/Texture.bench" / (texture.BaseTextureName + ".bmp")});
        }
        app.spec.NumTextures = 4;
    }
    ~Aircraft() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    // Wall and processor seconds (every thread's) of one build.
    std::pair<double, double> build(bool overlap = false) {
        const double processor = processorSeconds(RUSAGE_SELF);
        const Clock::time_point start = Clock::now();
        const TextureBuildReport report = BuildTextures(app, jobs, overlap);
        const std::pair<double, double> seconds{secondsSince(start),
                                                processorSeconds(RUSAGE_SELF) - processor};
        if (!report.skipped.empty() || report.written.size() != 4)
            std::printf("(the build left textures out: %s)\n",
                        report.skipped.empty() ? "?" : report.skipped.front().c_str());
        return seconds;
    }

    // The steps of the compose-and-convert pass one after the other, each timed: wall and
    // processor seconds, against those of a whole sequential build.
    void split(std::pair<double, double> build) {
        struct Step {
            const char* name;
            double wall = 0, processor = 0;
        };
        Step steps[] = {{"composition"},
                        {"intermediate bitmaps written"},
                        {"intermediate bitmaps read back by the converter"},
                        {"DXT3 encoding, every core"},
                        {"texture files written"}};
        for (std::size_t i = 0; i < 4; ++i) {
            FreeWorkSurfaces(app.surfaces);
            RgbaImage image;
            std::vector<std::uint8_t> file;
            const std::function<void()> work[] = {
                [&] {
                    ComposeTexture24(app, i);
                    ComposeAlpha8(app, i);
                },
                [&] {
                    SaveBitmap24(app.surfaces, app.programFolder, "SPLIT_c");
                    SaveBitmap8(app.surfaces, app.programFolder, "SPLIT_a", true);
                },
                [&] {
                    composeTextureImage(tempBitmapPath(app.programFolder, "SPLIT_c"),
                                        tempBitmapPath(app.programFolder, "SPLIT_a"), image);
                },
                [&] { file = encodeTexture(image, TextureContainer::FsBitmap, {}); },
                [&] { writeByteFile(tempBitmapPath(app.programFolder, "SPLIT"), file); }};
            for (std::size_t s = 0; s < std::size(steps); ++s) {
                const double processor = processorSeconds(RUSAGE_SELF);
                const Clock::time_point start = Clock::now();
                work[s]();
                steps[s].wall += secondsSince(start);
                steps[s].processor += processorSeconds(RUSAGE_SELF) - processor;
            }
        }
        std::printf("| step (4 textures) | wall s | processor s |\n|---|---|---|\n");
        double wall = 0, processor = 0;
        for (const Step& s : steps) {
            std::printf("| %s | %.3f | %.3f |\n", s.name, s.wall, s.processor);
            wall += s.wall;
            processor += s.processor;
        }
        std::printf("| the rest of a sequential build (names, moving, freeing): its time less the steps' | "
                    "%.3f | %.3f |\n",
                    build.first - wall, build.second - processor);
    }
};

void buildTimes(int size) {
    std::printf("\n## Build of a four-texture %dx%d aircraft from a photographic template\n\n", size, size);
    Aircraft aircraft(size);
    std::printf("| build | wall s | processor s |\n|---|---|---|\n");
    // Builds with and without overlap alternate, three of each, so that a change in the
    // machine's load falls on both alike; their means are shown.
    auto run = [&](BlockEncoder encoder, bool overlap) {
        setConverterEncoder(encoder);
        return aircraft.build(overlap);
    };
    std::pair<double, double> own{}, overlapped{};
    for (int round = 0; round < 3; ++round) {
        for (bool overlap : {false, true}) {
            const std::pair<double, double> s = run(BlockEncoder::Own, overlap);
            std::pair<double, double>& sum = overlap ? overlapped : own;
            sum.first += s.first / 3;
            sum.second += s.second / 3;
        }
    }
    const std::pair<double, double> squish = run(BlockEncoder::SquishIterativeCluster, false);
    setConverterEncoder(BlockEncoder::Own);
    std::printf("| livrano encoder (mean of 3) | %.3f | %.3f |\n", own.first, own.second);
    std::printf(
        "| livrano encoder, conversion overlapping the next composition (mean of 3) | %.3f | %.3f |\n",
        overlapped.first, overlapped.second);
    std::printf("| libsquish iterative cluster fit | %.3f | %.3f |\n", squish.first, squish.second);
    std::printf("\nOur encoder builds %.1fx faster on the wall, %.1fx in processor time (target >= 3x: %s).\n"
                "The overlap changes the wall time of a build by %+.0f%%.\n\n",
                squish.first / own.first, squish.second / own.second,
                squish.first >= 3 * own.first ? "met" : "MISSED", 100 * (overlapped.first / own.first - 1));
    std::printf("Where the time of the sequential build with our encoder goes:\n\n");
    aircraft.split(own);
}

// The machine's load average over the last minute: on a shared machine, wall times are only
// as good as the quiet they were measured in.
std::string loadAverage() {
    const auto bytes = readByteFile("/proc/loadavg");
    return bytes ? std::string(bytes->begin(), std::find(bytes->begin(), bytes->end(), ' ')) : "unknown";
}

} // namespace

int main(int argc, char** argv) {
    const int size = argc > 1 ? std::atoi(argv[1]) : 2048;
    if (size < 4 || size > 8192 || size % 4 != 0) {
        std::fprintf(stderr, "usage: livrano_texture_bench [size: a multiple of 4 up to 8192]\n");
        return 2;
    }
    const Clock::time_point start = Clock::now();
    std::printf("Load average at the start: %s\n\n", loadAverage().c_str());
    const fs::path folder =
        fs::temp_directory_path() / ("livrano-bench-peers-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    encoderTable(size, folder);
    fs::remove_all(folder);
    buildTimes(size);
    std::printf("\nThe benchmark ran %.0f s; load average at the end: %s.\n", secondsSince(start),
                loadAverage().c_str());
    return 0;
}
