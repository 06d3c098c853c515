// Host side of the reference check: makes random StretchBlt cases and holds stretchRect against
// what the platform drew for them (see run.sh).
//
//   compare generate COUNT SEED > cases.txt
//   compare check cases.txt drawn.txt     (drawn.txt: the output of gdi_stretch.exe)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "texture/stretch.h"

namespace {

using livrano::Bitmap;

struct Case {
    int bpp, srcW, srcH, dstW, dstH, dx, dy, dw, dh, sx, sy, sw, sh;
    std::string srcHex, dstHex;
};

std::string hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char buf[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out;
}

std::vector<std::uint8_t> unhex(const std::string& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return out;
}

// Source bytes mostly have one or two bits cleared, so an AND shows which pixels went into it.
std::vector<std::uint8_t> pixels(std::mt19937& rng, std::size_t count, bool telling) {
    std::vector<std::uint8_t> out(count);
    for (auto& b : out) {
        if (telling)
            b = static_cast<std::uint8_t>(0xFF & ~(1u << (rng() % 8)) &
                                          ~(rng() % 3 ? 0u : 1u << (rng() % 8)));
        else
            b = static_cast<std::uint8_t>(rng());
    }
    return out;
}

int generate(int count, unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) {
        return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1));
    };
    // An extent: mostly within the pictures, sometimes long enough to shrink several times over,
    // sometimes mirrored, rarely zero.
    auto extent = [&](int size) {
        if (rng() % 40 == 0)
            return 0;
        const int e = rng() % 4 == 0 ? pick(1, 3 * size + 4) : pick(1, size);
        return rng() % 2 ? -e : e;
    };
    // An origin: mostly one that keeps the rectangle inside its picture, else up to three pixels
    // over either edge.
    auto origin = [&](int size, int e) {
        const int lo = e < 0 ? -e - 1 : 0, hi = e < 0 ? size - 1 : size - e;
        const int slack = rng() % 3 == 0 || hi < lo ? 3 : 0;
        return pick(std::min(lo, hi) - slack, std::max(lo, hi) + slack);
    };
    for (int i = 0; i < count; ++i) {
        Case c{};
        c.bpp = rng() % 2 ? 3 : 1;
        c.srcW = pick(1, 12);
        c.srcH = pick(1, 12);
        c.dstW = pick(1, 12);
        c.dstH = pick(1, 12);
        c.dw = extent(c.dstW);
        c.dh = extent(c.dstH);
        c.sw = extent(c.srcW);
        c.sh = extent(c.srcH);
        c.dx = origin(c.dstW, c.dw);
        c.dy = origin(c.dstH, c.dh);
        c.sx = origin(c.srcW, c.sw);
        c.sy = origin(c.srcH, c.sh);
        const bool telling = rng() % 4 != 0;
        c.srcHex = hex(pixels(rng, static_cast<std::size_t>(c.srcW * c.srcH * c.bpp), telling));
        c.dstHex = hex(pixels(rng, static_cast<std::size_t>(c.dstW * c.dstH * c.bpp), false));
        std::printf("%d %d %d %d %d %d %d %d %d %d %d %d %d %s %s\n", c.bpp, c.srcW, c.srcH, c.dstW, c.dstH,
                    c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh, c.srcHex.c_str(), c.dstHex.c_str());
    }
    return 0;
}

Bitmap bitmap(int width, int height, int bpp, const std::string& text) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bytesPerPixel = bpp;
    b.pixels = unhex(text);
    return b;
}

int check(const char* casesPath, const char* drawnPath) {
    std::ifstream cases(casesPath), drawn(drawnPath);
    std::string caseLine, drawnLine;
    int compared = 0, agree = 0, resultsDiffer = 0;
    int mirrored = 0, clipped = 0, oddRatio = 0, colour = 0, drew = 0;
    while (std::getline(cases, caseLine) && std::getline(drawn, drawnLine)) {
        std::istringstream in(caseLine);
        Case c{};
        in >> c.bpp >> c.srcW >> c.srcH >> c.dstW >> c.dstH >> c.dx >> c.dy >> c.dw >> c.dh >> c.sx >> c.sy >>
            c.sw >> c.sh >> c.srcHex >> c.dstHex;
        std::istringstream out(drawnLine);
        int platformResult = 0;
        std::string platformHex;
        out >> platformResult >> platformHex;
        const Bitmap src = bitmap(c.srcW, c.srcH, c.bpp, c.srcHex);
        Bitmap dst = bitmap(c.dstW, c.dstH, c.bpp, c.dstHex);
        const bool result = livrano::stretchRect(dst, c.dx, c.dy, c.dw, c.dh, src, c.sx, c.sy, c.sw, c.sh);
        ++compared;
        mirrored += (c.dw < 0) != (c.sw < 0) || (c.dh < 0) != (c.sh < 0);
        // Whether a rectangle's pixels (a mirrored one covers x + w + 1 .. x) leave its picture.
        auto leaves = [](int x, int w, int size) {
            return w < 0 ? x + w + 1 < 0 || x >= size : x < 0 || x + w > size;
        };
        clipped += leaves(c.dx, c.dw, c.dstW) || leaves(c.dy, c.dh, c.dstH) || leaves(c.sx, c.sw, c.srcW) ||
                   leaves(c.sy, c.sh, c.srcH);
        auto odd = [](int a, int b) { return a != 0 && b != 0 && a % b != 0 && b % a != 0; };
        oddRatio += odd(c.dw, c.sw) || odd(c.dh, c.sh);
        colour += c.bpp == 3;
        drew += platformHex != c.dstHex;
        resultsDiffer += result != (platformResult != 0);
        if (hex(dst.pixels) == platformHex) {
            ++agree;
        } else if (compared - agree <= 20) {
            std::printf("differs: %d %d %d %d %d  dst (%d,%d,%d,%d) src (%d,%d,%d,%d)\n  src    %s\n  before "
                        "%s\n  gdi    %s\n  ours   %s\n",
                        c.bpp, c.srcW, c.srcH, c.dstW, c.dstH, c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh,
                        c.srcHex.c_str(), c.dstHex.c_str(), platformHex.c_str(), hex(dst.pixels).c_str());
        }
    }
    std::printf(
        "compared %d cases (%d mirrored, %d clipped, %d odd ratios, %d 24-bit, %d drew something): %d agree, "
        "%d differ; StretchBlt's result differs from ours in %d\n",
        compared, mirrored, clipped, oddRatio, colour, drew, agree, compared - agree, resultsDiffer);
    return agree == compared ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "generate" && argc == 4)
        return generate(std::stoi(argv[2]), static_cast<unsigned>(std::stoul(argv[3])));
    if (mode == "check" && argc == 4)
        return check(argv[2], argv[3]);
    std::fprintf(stderr, "usage: compare generate COUNT SEED | compare check CASES DRAWN\n");
    return 2;
}
