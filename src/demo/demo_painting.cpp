// SPDX-License-Identifier: MIT
#include "demo/demo_painting.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

namespace livrano {

namespace {

constexpr std::uint8_t kOpaque = 255;
constexpr std::uint8_t kGlass = 70; // windows and canopies shine
constexpr std::uint8_t kMetal = 170;

// A 5 x 7 font: each glyph is seven rows of five bits, the high bit leftmost.
struct Glyph {
    char c;
    std::array<std::uint8_t, 7> rows;
};
constexpr Glyph kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph* glyphOf(char c) {
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : kFont)
        if (g.c == c)
            return &g;
    return nullptr; // blanks and anything unknown leave a gap
}

class Painter {
public:
    Painter(LiveryPicture& picture, PixelRect clip) : m_picture(picture), m_clip(clip) {}

    void pixel(int x, int y, Rgb colour, std::uint8_t alpha) {
        if (x < m_clip.left || x >= m_clip.right || y < m_clip.top || y >= m_clip.bottom)
            return;
        const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_picture.colour.width) +
                              static_cast<std::size_t>(x);
        m_picture.colour.pixels[i * 3] = colour.blue;
        m_picture.colour.pixels[i * 3 + 1] = colour.green;
        m_picture.colour.pixels[i * 3 + 2] = colour.red;
        m_picture.alpha.pixels[i] = alpha;
    }

    void rect(int left, int top, int right, int bottom, Rgb colour, std::uint8_t alpha = kOpaque) {
        for (int y = std::max(top, m_clip.top); y < std::min(bottom, m_clip.bottom); ++y)
            for (int x = std::max(left, m_clip.left); x < std::min(right, m_clip.right); ++x)
                pixel(x, y, colour, alpha);
    }

    void ellipse(int cx, int cy, int rx, int ry, Rgb colour, std::uint8_t alpha = kOpaque) {
        for (int y = cy - ry; y <= cy + ry; ++y) {
            const double dy = static_cast<double>(y - cy) / std::max(ry, 1);
            const int half = static_cast<int>(std::lround(rx * std::sqrt(std::max(0.0, 1.0 - dy * dy))));
            rect(cx - half, y, cx + half + 1, y + 1, colour, alpha);
        }
    }

    // A fin: the leading edge sweeps back from the root's front to the tip.
    void fin(int rootLeft, int rootRight, int baseY, int tipLeft, int tipRight, int tipY, Rgb colour) {
        for (int y = tipY; y < baseY; ++y) {
            const double t = static_cast<double>(y - tipY) / std::max(baseY - tipY, 1);
            const int left = static_cast<int>(std::lround(tipLeft + (rootLeft - tipLeft) * t));
            const int right = static_cast<int>(std::lround(tipRight + (rootRight - tipRight) * t));
            rect(left, y, right, y + 1, colour);
        }
    }

    // Text in the 5 x 7 font, each font pixel `scale` pixels square, starting at (x, y).
    void text(const std::string& words, int x, int y, int scale, Rgb colour) {
        for (char c : words) {
            if (const Glyph* g = glyphOf(c)) {
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if ((g->rows[static_cast<std::size_t>(row)] >> (4 - col)) & 1)
                            rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                                 y + (row + 1) * scale, colour);
            }
            x += 6 * scale;
        }
    }

    static int textWidth(const std::string& words, int scale) {
        return static_cast<int>(words.size()) * 6 * scale;
    }

private:
    LiveryPicture& m_picture;
    PixelRect m_clip;
};

constexpr Rgb kGlassColour{40, 52, 70};
constexpr Rgb kMetalColour{150, 154, 160};
constexpr Rgb kWhite{245, 245, 245};

void paintFuselage(Painter& p, PixelRect a, const LiveryDesign& d) {
    const int w = a.right - a.left;
    const int h = a.bottom - a.top;
    p.rect(a.left, a.top, a.right, a.bottom, d.body);
    // Belly in the stripe colour, the cheatline above it and a thin accent line.
    p.rect(a.left, a.top + h * 7 / 10, a.right, a.bottom, d.stripe);
    p.rect(a.left, a.top + h * 52 / 100, a.right, a.top + h * 62 / 100, d.stripe);
    p.rect(a.left, a.top + h * 63 / 100, a.right, a.top + h * 66 / 100, d.accent);
    // Cockpit glass at the nose, cabin windows behind it, a door.
    const int windowY = a.top + h * 36 / 100;
    const int windowH = std::max(h / 12, 2);
    p.rect(a.left + w / 40, windowY - windowH / 2, a.left + w / 10, windowY + windowH, kGlassColour, kGlass);
    for (int x = a.left + w * 3 / 20; x < a.left + w * 7 / 10; x += std::max(w / 28, 4))
        p.rect(x, windowY, x + std::max(w / 60, 2), windowY + windowH, kGlassColour, kGlass);
    p.rect(a.left + w / 8, a.top + h * 28 / 100, a.left + w / 8 + w / 32, a.top + h * 68 / 100, d.accent);
    // The airline's titles above the windows, the registration on the tail cone.
    const int titleScale = std::max(h / 40, 1);
    p.text(d.titles, a.left + w / 6, a.top + h * 14 / 100, titleScale, d.stripe);
    // Kept behind the last window.
    const int regScale =
        std::max(std::min(h / 36, w * 26 / 100 / std::max(Painter::textWidth(d.registration, 1), 1)), 1);
    p.text(d.registration, a.right - Painter::textWidth(d.registration, regScale) - w / 30,
           a.top + h * 40 / 100, regScale, d.accent);
}

void paintWing(Painter& p, PixelRect a, const LiveryDesign& d) {
    const int w = a.right - a.left;
    const int h = a.bottom - a.top;
    p.rect(a.left, a.top, a.right, a.bottom, kMetalColour, kMetal);
    p.rect(a.left, a.top + h / 10, a.right, a.bottom - h / 10, d.body);
    // Coloured wing tips and the registration across the upper surface.
    p.rect(a.left, a.top + h / 10, a.left + w / 12, a.bottom - h / 10, d.stripe);
    p.rect(a.right - w / 12, a.top + h / 10, a.right, a.bottom - h / 10, d.stripe);
    const int scale =
        std::max(std::min(h / 14, w * 3 / 4 / std::max(Painter::textWidth(d.registration, 1), 1)), 1);
    p.text(d.registration, a.left + (w - Painter::textWidth(d.registration, scale)) / 2,
           a.top + h / 2 - 7 * scale / 2, scale, d.accent);
}

void paintTail(Painter& p, PixelRect a, const LiveryDesign& d) {
    const int w = a.right - a.left;
    const int h = a.bottom - a.top;
    p.rect(a.left, a.top, a.right, a.bottom, d.body);
    p.fin(a.left + w / 10, a.left + w * 9 / 10, a.bottom - h / 12, a.left + w / 2, a.left + w * 17 / 20,
          a.top + h / 12, d.stripe);
    // The logo: a ring in the accent colour with the first letter of the titles.
    const int cx = a.left + w * 62 / 100;
    const int cy = a.top + h * 52 / 100;
    p.ellipse(cx, cy, w / 7, w / 7, d.accent);
    p.ellipse(cx, cy, w / 10, w / 10, kWhite);
    const int scale = std::max(w / 45, 1);
    p.text(d.titles.substr(0, 1), cx - 5 * scale / 2, cy - 7 * scale / 2, scale, d.stripe);
    p.rect(a.left, a.bottom - h / 12, a.right, a.bottom, d.accent);
}

void paintNacelle(Painter& p, PixelRect a, const LiveryDesign& d) {
    const int h = a.bottom - a.top;
    p.rect(a.left, a.top, a.right, a.bottom, d.body);
    p.rect(a.left, a.top, a.right, a.top + h / 6, kMetalColour, kMetal); // intake lip
    p.rect(a.left, a.top + h * 2 / 5, a.right, a.top + h * 3 / 5, d.stripe);
    p.rect(a.left, a.top + h * 3 / 5, a.right, a.top + h * 2 / 3, d.accent);
}

} // namespace

LiveryPicture blankPicture(int width, int height, const LiveryDesign& design) {
    LiveryPicture picture;
    picture.colour.width = picture.alpha.width = width;
    picture.colour.height = picture.alpha.height = height;
    picture.colour.bytesPerPixel = 3;
    picture.alpha.bytesPerPixel = 1;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    picture.colour.pixels.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        picture.colour.pixels[i * 3] = design.body.blue;
        picture.colour.pixels[i * 3 + 1] = design.body.green;
        picture.colour.pixels[i * 3 + 2] = design.body.red;
    }
    picture.alpha.pixels.assign(count, kOpaque);
    picture.alpha.palette = greyRamp();
    return picture;
}

void paintPart(LiveryPicture& picture, LiveryPart part, PixelRect area, const LiveryDesign& design) {
    assert(0 <= area.left && area.left <= area.right && area.right <= picture.colour.width);
    assert(0 <= area.top && area.top <= area.bottom && area.bottom <= picture.colour.height);
    assert(picture.alpha.width == picture.colour.width && picture.alpha.height == picture.colour.height);
    Painter painter(picture, area);
    switch (part) {
    case LiveryPart::Fuselage:
        paintFuselage(painter, area, design);
        break;
    case LiveryPart::Wing:
        paintWing(painter, area, design);
        break;
    case LiveryPart::Tail:
        paintTail(painter, area, design);
        break;
    case LiveryPart::Nacelle:
        paintNacelle(painter, area, design);
        break;
    }
}

} // namespace livrano
