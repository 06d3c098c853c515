// SPDX-License-Identifier: MIT
// What a paint kit costs: an aircraft with twelve 2048x2048 DXT1 textures in DDS files, kitted
// once, with the processor time of each stage (reading and decoding the textures, packing them,
// the template's pixels and bitmaps, the guide, writing the files).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "app/file_bytes.h"
#include "output/kit_files.h"
#include "output/kit_plan.h"
#include "processor_time.h"
#include "texture/guide_picture.h"
#include "texture/template_packing.h"

namespace {

namespace fs = std::filesystem;
using namespace livrano;

using bench::processorSeconds;

// A DDS file of DXT1 blocks. Any eight bytes are a DXT1 block; these vary smoothly enough to
// look like paint and to compress no better than paint does.
std::string dxt1Dds(int size, std::uint32_t seed) {
    std::string file(128, '\0');
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    };
    put(0, 0x20534444); // "DDS "
    put(4, 124);
    put(8, 0x1007 | 0x80000);
    put(12, std::uint32_t(size));
    put(16, std::uint32_t(size));
    put(20, std::uint32_t(size / 4) * std::uint32_t(size / 4) * 8);
    put(76, 32);
    put(80, 0x4);
    put(84, 0x31545844); // "DXT1"
    put(108, 0x1000);
    std::mt19937 random(seed);
    for (int by = 0; by < size / 4; ++by)
        for (int bx = 0; bx < size / 4; ++bx) {
            const std::uint32_t c0 = (std::uint32_t(bx * 31 / (size / 4)) << 11) |
                                     (std::uint32_t(by * 63 / (size / 4)) << 5) | (seed & 31);
            // colour0 above colour1: four opaque colours, as a texture without alpha has them.
            const std::uint32_t c1 = c0 >= 0x0841 ? c0 - 0x0841 : 0;
            std::string block(8, '\0');
            block[0] = char(c0 & 0xFF);
            block[1] = char(c0 >> 8);
            block[2] = char(c1 & 0xFF);
            block[3] = char(c1 >> 8);
            const auto indices = static_cast<std::uint32_t>(random());
            for (int i = 0; i < 4; ++i)
                block[4 + std::size_t(i)] = char((indices >> (8 * i)) & 0xFF);
            file += block;
        }
    return file;
}

struct Stages {
    double decoding = 0, packing = 0, composing = 0, guide = 0, writing = 0, wall = 0;
    double total() const { return decoding + packing + composing + writing; }
};

// One kit of the aircraft into a fresh program folder; false when a stage fails.
bool kitOnce(const fs::path& root, const fs::path& aircraft, Stages& t, TemplateLayout& layout) {
    const fs::path program = root / "Corvane Software" / "Livrano";
    fs::remove_all(program);
    fs::create_directories(program / "Templates");
    fs::create_directories(program / "Aircraft Configurations");
    fs::create_directories(program / "Data");
    if (!replaceFileBytes(program / "Data" / "airlines.cfg", std::string_view("Corvane Air\r\n")))
        return false;
    KitRequest request;
    request.programFolder = program;
    request.aircraftFolder = aircraft;
    const auto wallStart = std::chrono::steady_clock::now();
    double at = processorSeconds();
    auto lap = [&] {
        const double now = processorSeconds();
        const double seconds = now - at;
        at = now;
        return seconds;
    };
    KitPlan plan;
    if (!planKit(request, installedConfigurations(program), plan))
        return false;
    const double planning = lap();
    std::vector<std::pair<int, int>> sizes;
    for (const KitTexture& k : plan.source.textures)
        sizes.emplace_back(k.decoded.width, k.decoded.height);
    lap();
    layout = packTemplate(sizes, kKitGutter);
    t.packing = lap();
    t.decoding = planning - t.packing;
    KitFiles files;
    if (!composeKitFiles(plan, files))
        return false;
    t.composing = lap();
    std::vector<GuideBox> boxes;
    for (std::size_t i = 0; i < layout.places.size(); ++i)
        boxes.push_back({layout.places[i].x, layout.places[i].y, layout.places[i].width,
                         layout.places[i].height, plan.source.textures[i].fileName});
    std::vector<std::uint8_t> guide;
    lap();
    if (!encodeGuidePng(layout.width, layout.height, boxes, kGuideZlibLevel, guide))
        return false;
    t.guide = lap();
    if (!writeKitFiles(plan, files, systemFileOperations()))
        return false;
    t.writing = lap();
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    return true;
}

double median(std::vector<Stages>& runs, double Stages::*stage) {
    std::vector<double> values;
    for (const Stages& s : runs)
        values.push_back(s.*stage);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    const fs::path root =
        fs::temp_directory_path() / ("livrano-kit-bench-" + std::to_string(std::random_device{}()));
    const fs::path aircraft = root / "Aircraft" / "Twelve";
    fs::create_directories(aircraft / "texture");
    if (!replaceFileBytes(aircraft / "aircraft.cfg",
                          std::string_view("[fltsim.0]\r\ntitle=Twelve\r\nsim=twelve\r\n")))
        return 1;
    for (int i = 0; i < 12; ++i)
        if (!replaceFileBytes(aircraft / "texture" / ("part" + std::to_string(i) + ".dds"),
                              dxt1Dds(2048, std::uint32_t(i + 1))))
            return 1;
    std::vector<Stages> runs(5);
    TemplateLayout layout;
    for (Stages& run : runs)
        if (!kitOnce(root, aircraft, run, layout))
            return 1;
    fs::remove_all(root);
    std::printf("Kit of 12 DXT1 textures of 2048x2048 (template %dx%d), processor seconds, median of %zu:\n",
                layout.width, layout.height, runs.size());
    std::printf("  reading and decoding the textures  %6.3f\n", median(runs, &Stages::decoding));
    std::printf("  packing                            %6.3f\n", median(runs, &Stages::packing));
    std::printf("  template, alpha, guide, copies     %6.3f  (the guide alone, PNG at zlib level %d: %.3f)\n",
                median(runs, &Stages::composing), kGuideZlibLevel, median(runs, &Stages::guide));
    std::printf("  writing the files                  %6.3f\n", median(runs, &Stages::writing));
    std::vector<double> totals;
    for (const Stages& s : runs)
        totals.push_back(s.total());
    std::sort(totals.begin(), totals.end());
    std::printf("  a kit in all                       %6.3f  (%.3f s wall)\n", totals[totals.size() / 2],
                median(runs, &Stages::wall));
    return 0;
}
