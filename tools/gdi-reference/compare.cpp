// SPDX-License-Identifier: MIT
// Host side of the reference check (see run.sh): makes random StretchBlt cases, and holds
// stretchRect against what the platform drew for them.
//
//   compare generate COUNT SEED > cases.txt
//   compare check cases.txt drawn.txt     (drawn.txt: the output of gdi_stretch.exe)
//
// A case that carries an expected picture (a test table) is also held against that.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "case_line.h"
#include "texture/stretch.h"

namespace {

// Source bytes mostly have one or two bits cleared, so an AND shows which pixels went into it.
std::string pixels(std::mt19937& rng, int count, bool telling) {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(count));
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(rng());
        if (telling)
            b = static_cast<std::uint8_t>(~(1u << (rng() % 8)) & ~(rng() % 3 ? 0u : 1u << (rng() % 8)));
    }
    return toHex(out.data(), out.size());
}

int generate(int count, unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) {
        return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1));
    };
    // Mostly small pictures, whose every pixel the eye can check; some larger ones.
    auto size = [&] { return rng() % 5 == 0 ? pick(1, 40) : pick(1, 12); };
    // An extent: mostly within its picture, sometimes long enough to shrink several times over,
    // half of them mirrored, rarely zero.
    auto extent = [&](int of) {
        if (rng() % 40 == 0)
            return 0;
        const int e = rng() % 4 == 0 ? pick(1, 3 * of + 4) : pick(1, of);
        return rng() % 2 ? -e : e;
    };
    // An origin: mostly one that keeps the rectangle inside its picture, else up to three pixels
    // over either edge.
    auto origin = [&](int of, int e) {
        const int lo = e < 0 ? -e - 1 : 0, hi = e < 0 ? of - 1 : of - e;
        const int slack = rng() % 3 == 0 || hi < lo ? 3 : 0;
        return pick(std::min(lo, hi) - slack, std::max(lo, hi) + slack);
    };
    for (int i = 0; i < count; ++i) {
        StretchCase c;
        c.bpp = rng() % 2 ? 3 : 1;
        c.srcW = size();
        c.srcH = size();
        c.dstW = size();
        c.dstH = size();
        c.dw = extent(c.dstW);
        c.dh = extent(c.dstH);
        c.sw = extent(c.srcW);
        c.sh = extent(c.srcH);
        c.dx = origin(c.dstW, c.dw);
        c.dy = origin(c.dstH, c.dh);
        c.sx = origin(c.srcW, c.sw);
        c.sy = origin(c.srcH, c.sh);
        const bool telling = rng() % 4 != 0;
        std::printf("%d %d %d %d %d %d %d %d %d %d %d %d %d %s %s\n", c.bpp, c.srcW, c.srcH, c.dstW, c.dstH,
                    c.dx, c.dy, c.dw, c.dh, c.sx, c.sy, c.sw, c.sh,
                    pixels(rng, c.srcW * c.srcH * c.bpp, telling).c_str(),
                    pixels(rng, c.dstW * c.dstH * c.bpp, false).c_str());
    }
    return 0;
}

livrano::Bitmap bitmap(int width, int height, int bpp, const std::string& hex) {
    livrano::Bitmap b;
    b.width = width;
    b.height = height;
    b.bytesPerPixel = bpp;
    b.pixels = fromHex(hex);
    return b;
}

// Whether a rectangle's pixels (a mirrored one covers x + w + 1 .. x) leave its picture.
bool leaves(int x, int w, int size) {
    return w < 0 ? x + w + 1 < 0 || x >= size : x < 0 || x + w > size;
}
bool oddRatio(int a, int b) {
    return a != 0 && b != 0 && a % b != 0 && b % a != 0;
}

// A one-pixel copy: a destination one pixel wide (or high) from a longer source, the other extent
// the same on both sides. The platform reads one source pixel fewer for such a destination; when
// that leaves both extents equal, Wine copies from where the visible source begins, with ranges
// made for a stretch, and so reads past the visible source, even past the picture (it may fault).
// stretchRect pairs the pixels as for any other copy and reads nothing outside the picture.
bool onePixelCopy(const StretchCase& c) {
    auto adjusted = [](int d, int s) { return d == 1 && s > 1 ? s - 1 : s; };
    return (c.dw != c.sw || c.dh != c.sh) && adjusted(c.dw, c.sw) == c.dw && adjusted(c.dh, c.sh) == c.dh;
}

int check(const char* casesPath, const char* drawnPath) {
    std::ifstream cases(casesPath), drawn(drawnPath);
    std::string caseLine, drawnLine;
    int compared = 0, agree = 0, tables = 0, tablesAgree = 0, results = 0, crashed = 0;
    int mirrored = 0, clipped = 0, odd = 0, colour = 0, drew = 0, onePixel = 0, onePixelDiffer = 0;
    while (std::getline(cases, caseLine)) {
        if (!holdsCase(caseLine))
            continue;
        const std::optional<StretchCase> c = parseCase(caseLine);
        if (!c || !std::getline(drawn, drawnLine)) {
            std::printf("cannot read the case or its drawing: %s\n", caseLine.c_str());
            return 2;
        }
        if (drawnLine == "crashed") {
            ++crashed;
            continue;
        }
        std::istringstream out(drawnLine);
        int platformResult = 0;
        std::string platform;
        out >> platformResult >> platform;
        livrano::Bitmap dst = bitmap(c->dstW, c->dstH, c->bpp, c->dstHex);
        const bool result =
            livrano::stretchRect(dst, c->dx, c->dy, c->dw, c->dh, bitmap(c->srcW, c->srcH, c->bpp, c->srcHex),
                                 c->sx, c->sy, c->sw, c->sh);
        const std::string ours = toHex(dst.pixels.data(), dst.pixels.size());
        ++compared;
        mirrored += (c->dw < 0) != (c->sw < 0) || (c->dh < 0) != (c->sh < 0);
        clipped += leaves(c->dx, c->dw, c->dstW) || leaves(c->dy, c->dh, c->dstH) ||
                   leaves(c->sx, c->sw, c->srcW) || leaves(c->sy, c->sh, c->srcH);
        odd += oddRatio(c->dw, c->sw) || oddRatio(c->dh, c->sh);
        colour += c->bpp == 3;
        drew += platform != c->dstHex;
        results += result == (platformResult != 0);
        if (!c->expectedHex.empty()) {
            ++tables;
            tablesAgree += c->expectedHex == platform;
        }
        onePixel += onePixelCopy(*c);
        if (ours == platform && (c->expectedHex.empty() || c->expectedHex == platform)) {
            ++agree;
        } else if (onePixelCopy(*c)) {
            ++onePixelDiffer;
        } else if (compared - agree - onePixelDiffer <= 20) {
            std::printf("differs: %s\n  gdi      %s\n  ours     %s\n", caseLine.c_str(), platform.c_str(),
                        ours.c_str());
        }
    }
    std::printf(
        "compared %d cases (%d mirrored, %d clipped, %d odd ratios, %d 24-bit, %d drew something): %d agree, %d differ, %d of them one-pixel copies (of %d)",
        compared, mirrored, clipped, odd, colour, drew, agree, compared - agree, onePixelDiffer, onePixel);
    if (tables > 0)
        std::printf("; %d of %d expected pictures are the platform's", tablesAgree, tables);
    std::printf("; StretchBlt reported what stretchRect returns in %d", results);
    std::printf("; the platform crashed on %d more\n", crashed);
    return agree + onePixelDiffer == compared ? 0 : 1;
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
