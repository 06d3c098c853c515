// SPDX-License-Identifier: MIT
#include "paint_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace livrano::bench {

namespace {

std::uint32_t hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    return h ^ (h >> 15);
}

// Uniform in [0, 1) per lattice point.
double lattice(int x, int y, std::uint32_t seed) {
    return hash(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed) / 4294967296.0;
}

// Value noise of one scale (lattice spacing in pixels, at least 1), smoothly interpolated.
double noise(double x, double y, double scale, std::uint32_t seed) {
    const double fx = x / scale, fy = y / scale;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const double tx = fx - ix, ty = fy - iy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const double top = lattice(ix, iy, seed) * (1 - sx) + lattice(ix + 1, iy, seed) * sx;
    const double bottom = lattice(ix, iy + 1, seed) * (1 - sx) + lattice(ix + 1, iy + 1, seed) * sx;
    return top * (1 - sy) + bottom * sy;
}

// Noise from `largest` down to one pixel, each octave half the spacing and `falloff` the weight.
double fractal(double x, double y, double largest, double falloff, std::uint32_t seed) {
    double sum = 0, weight = 1, total = 0;
    for (int octave = 0; std::ldexp(largest, -octave) >= 1; ++octave, weight *= falloff, ++seed) {
        sum += weight * noise(x, y, std::ldexp(largest, -octave), seed);
        total += weight;
    }
    return sum / total;
}

std::uint8_t level(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

template <typename Paint> RgbaImage paint(int size, Paint texel) {
    RgbaImage image{size, size, std::vector<std::uint8_t>(std::size_t(size) * size * 4)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double rgba[4];
            texel(double(x), double(y), rgba);
            for (int c = 0; c < 4; ++c)
                image.rgba[(std::size_t(y) * size + x) * 4 + c] = level(rgba[c]);
        }
    }
    return image;
}

// A 5x7 glyph per character code, its pixels from the hash: letters enough to look like text.
bool glyphPixel(int code, int gx, int gy) {
    if (gx < 0 || gx >= 5 || gy < 0 || gy >= 7)
        return false;
    return hash(static_cast<std::uint32_t>(code), static_cast<std::uint32_t>(gy * 5 + gx), 77) % 5 < 2;
}

// Sensor grain: near-normal noise of unit deviation, new at every pixel (the sum of three
// uniforms, scaled).
double grain(double x, double y, std::uint32_t seed) {
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    return (lattice(ix, iy, seed) + lattice(ix, iy, seed + 1) + lattice(ix, iy, seed + 2) - 1.5) * 2;
}

// Nearness to the edges of a jittered cell pattern of `scale` pixels: 1 on an edge, falling to 0
// at `width` pixels from it. Crossing thin lines at every angle, as twigs, cracks and wires.
double cellEdges(double x, double y, double scale, double width, std::uint32_t seed) {
    const double fx = x / scale, fy = y / scale;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    double first = 1e9, second = 1e9;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const double px = ix + i + lattice(ix + i, iy + j, seed);
            const double py = iy + j + lattice(ix + i, iy + j, seed + 1);
            const double d = std::hypot(fx - px, fy - py);
            second = std::min(second, std::max(first, d));
            first = std::min(first, d);
        }
    }
    return std::max(0.0, 1 - (second - first) * scale / width);
}

// Fine texture everywhere, as foliage, gravel or cloth fill a photograph: strong detail at a few
// pixels, a brown-green cast that drifts, grain.
void fineTexture(double x, double y, double* out) {
    const double t = fractal(x, y, 24, 0.85, 100) - 0.5;
    const double cast = fractal(x, y, 256, 0.5, 110);
    const double l = 110 + 260 * t;
    out[0] = l * (0.8 + 0.3 * cast) + 3 * grain(x, y, 120);
    out[1] = l * (1.0 - 0.1 * cast) + 10 + 3 * grain(x, y, 123);
    out[2] = l * 0.6 + 3 * grain(x, y, 126);
}

// A low-contrast gradient with grain, as a sky or a studio backdrop: a few levels of change over
// hundreds of pixels under grain of two to three levels, partly shared by the channels.
void grainyGradient(double x, double y, double* out) {
    const double shared = 2 * grain(x, y, 200);
    const double vignette = std::hypot(x - 900, y - 700) / 3000;
    out[0] = 120 + 40 * y / 2048 - 30 * vignette + shared + 1.5 * grain(x, y, 210);
    out[1] = 150 + 30 * y / 2048 - 30 * vignette + shared + 1.5 * grain(x, y, 213);
    out[2] = 210 - 20 * y / 2048 - 40 * vignette + shared + 2.5 * grain(x, y, 216);
}

// High-contrast detail, as bare branches against the sky or wires and window frames: dark lines
// one to three pixels wide at two scales over a bright, coloured ground.
void highContrastDetail(double x, double y, double* out) {
    const double lines = std::max(cellEdges(x, y, 90, 2.5, 300), cellEdges(x, y, 23, 1.2, 310));
    const double ground = fractal(x, y, 128, 0.5, 320);
    const double patch = hash(int(x / 37), int(y / 53), 330) % 4 == 0 ? 1 : 0; // lit windows
    const double dark = 1 - lines;
    out[0] = (200 + 40 * ground - 120 * patch) * dark + 25 * lines + 2 * grain(x, y, 340);
    out[1] = (215 + 30 * ground - 40 * patch) * dark + 20 * lines + 2 * grain(x, y, 343);
    out[2] = (235 - 20 * ground + 10 * patch) * dark + 15 * lines + 2 * grain(x, y, 346);
}

} // namespace

RgbaImage smoothLivery(int size) {
    const double k = 2048.0 / size; // the picture is laid out at 2048 and scaled
    return paint(size, [k](double px, double py, double* out) {
        const double x = px * k, y = py * k;
        double r = 230 - 90.0 * y / 2048 + 10 * std::sin(x / 300.0);
        double g = 235 - 60.0 * y / 2048;
        double b = 245 - 30.0 * y / 2048 + 8 * std::cos(y / 170.0);
        if (y > 900 && y < 1000)
            r = 200, g = 20, b = 40;
        else if (y >= 1000 && y < 1030)
            r = 250, g = 190, b = 0;
        const bool letterRow = y > 600 && y < 760 && x > 300 && x < 1700;
        if (letterRow && (int(x / 40) % 3 != 0) && ((int(x / 8) ^ int(y / 8)) % 5 != 0))
            r = g = b = 20;
        const bool window = y > 1200 && y < 1240 && std::fmod(x, 64) < 28;
        if (window)
            r = g = b = 35;
        out[0] = r, out[1] = g, out[2] = b;
        out[3] = window ? 255 : 40 + 180 * x / 2048;
    });
}

RgbaImage photoNoise(int size) {
    return paint(size, [](double x, double y, double* out) {
        const double light = fractal(x, y, 512, 0.6, 1);
        const double hue = fractal(x, y, 128, 0.5, 20);
        const double grain = noise(x, y, 1, 40) - 0.5;
        const double detail = fractal(x, y, 8, 0.8, 50) - 0.5;
        const double l = 255 * light + 60 * detail + 24 * grain;
        out[0] = l + 90 * (hue - 0.5);
        out[1] = l + 40 * (fractal(x, y, 64, 0.6, 60) - 0.5);
        out[2] = l - 90 * (hue - 0.5) + 16 * grain;
        out[3] = 255 * fractal(x, y, 256, 0.7, 80);
    });
}

RgbaImage weathering(int size) {
    return paint(size, [](double x, double y, double* out) {
        // Panels 160 x 96 px, each one of three paints.
        const int panelX = int(x / 160), panelY = int(y / 96);
        static const double paints[3][3] = {{236, 236, 232}, {20, 52, 120}, {170, 24, 30}};
        const double* base = paints[hash(panelX, panelY, 3) % 3];
        const double fx = std::fmod(x, 160), fy = std::fmod(y, 96);
        const bool seam = fx < 1.5 || fy < 1.5;
        const bool rivet =
            (fy < 5 && fy > 2 && std::fmod(fx, 12) < 2) || (fx < 5 && fx > 2 && std::fmod(fy, 12) < 2);
        const double streaks = fractal(x, y / 24, 32, 0.7, 5); // grime runs down
        const double soot = std::max(0.0, 1 - std::hypot(x - 0.7 * 2048, y - 0.3 * 2048) / 900);
        const double scratch = hash(int(x + y * 0.35) / 3, int(y / 40), 9) % 97 == 0 ? 1 : 0;
        const double grain = noise(x, y, 1, 11) - 0.5;
        const double dirt = 0.35 * streaks + 0.45 * soot;
        for (int c = 0; c < 3; ++c) {
            double v = base[c] * (1 - dirt) + 40 * dirt + 18 * grain;
            if (seam)
                v *= 0.45;
            if (rivet)
                v = v * 0.7 + 60;
            if (scratch > 0)
                v = 200 + 30 * grain;
            out[c] = v;
        }
        out[3] = seam ? 30 : 200 - 150 * streaks + 40 * grain;
    });
}

RgbaImage edgesAndText(int size) {
    return paint(size, [](double x, double y, double* out) {
        const double ground = fractal(x, y, 64, 0.6, 31);
        double r = 90 + 120 * ground, g = 110 + 90 * ground, b = 140 + 80 * ground;
        // Diagonal stripes and discs with hard edges.
        if (std::fmod(x + y, 300) < 40)
            r = 250, g = 200, b = 10;
        const double cx = std::fmod(x, 256) - 128, cy = std::fmod(y, 256) - 128;
        if (cx * cx + cy * cy < 50 * 50)
            r = 10, g = 140, b = 60;
        // Text lines: glyph scale 1 to 6 px per glyph pixel, chosen by the band.
        const int band = int(y / 64);
        const int scale = 1 + band % 6;
        const double ty = std::fmod(y, 64) / scale, tx = x / scale;
        const int code = int(tx / 6) + band * 97;
        if (glyphPixel(code, int(std::fmod(tx, 6)), int(ty)))
            r = band % 2 ? 255 : 0, g = band % 3 ? 255 : 0, b = 0;
        out[0] = r, out[1] = g, out[2] = b;
        out[3] = std::fmod(x, 128) < 64 ? 255 : 128 * ground;
    });
}

RgbaImage photoFineTexture(int size) {
    return paint(size, [](double x, double y, double* out) {
        fineTexture(x, y, out);
        out[3] = 255;
    });
}

RgbaImage photoGrainyGradient(int size) {
    return paint(size, [](double x, double y, double* out) {
        grainyGradient(x, y, out);
        out[3] = 255;
    });
}

RgbaImage photoHighContrast(int size) {
    return paint(size, [](double x, double y, double* out) {
        highContrastDetail(x, y, out);
        out[3] = 255;
    });
}

RgbaImage photoMix(int size) {
    return paint(size, [size](double x, double y, double* out) {
        // Sky above a wavy horizon, detail (a tree line, a town) along it, textured ground below.
        const double horizon = size * (0.4 + 0.1 * fractal(x, 0, 256, 0.5, 400));
        const double d = (y - horizon) / size;
        if (d < -0.08)
            grainyGradient(x, y, out);
        else if (d < 0.08)
            highContrastDetail(x, y, out);
        else
            fineTexture(x, y, out);
        out[3] = 255;
    });
}

const std::vector<NamedPicture>& paintPictures() {
    static const std::vector<NamedPicture> pictures = {
        {"smooth livery", smoothLivery, false},
        {"photo noise", photoNoise, true},
        {"weathering", weathering, true},
        {"edges and text", edgesAndText, true},
        {"photo: fine texture", photoFineTexture, true},
        {"photo: grainy gradient", photoGrainyGradient, true},
        {"photo: high-contrast detail", photoHighContrast, true},
        {"photo: mix", photoMix, true},
    };
    return pictures;
}

} // namespace livrano::bench
