// SPDX-License-Identifier: MIT
// Runs the platform's own StretchBlt on the cases read from standard input and prints what it
// drew: the reference our scaler is held against. Built for Windows (MinGW) and run under Wine.
//
// Reads cases (see case_line.h) and prints, one line a case, StretchBlt's result (0 or 1) and the
// destination's pixels afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "case_line.h"

namespace {

struct Dib {
    HBITMAP bitmap = nullptr;
    std::uint8_t* bits = nullptr;
    int width = 0, height = 0, bytesPerPixel = 0;

    // Bottom-up like the program's own surfaces, rows padded to four bytes by the platform.
    std::uint8_t* row(int y) const {
        const int stride = (width * bytesPerPixel + 3) & ~3;
        return bits + static_cast<std::size_t>(height - 1 - y) * stride;
    }
};

// Both pictures of an 8-bit case carry the same grey ramp, as the alpha template and the work
// surface do, so the platform copies indices without matching colours.
Dib makeDib(HDC dc, int bytesPerPixel, int width, int height) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bytesPerPixel * 8);
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i)
        info.colours[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    Dib dib;
    void* bits = nullptr;
    dib.bitmap =
        CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    dib.bits = static_cast<std::uint8_t*>(bits);
    dib.width = width;
    dib.height = height;
    dib.bytesPerPixel = bytesPerPixel;
    return dib;
}

void fill(const Dib& dib, const std::string& hex) {
    const std::vector<std::uint8_t> bytes = fromHex(hex);
    const std::size_t rowBytes = static_cast<std::size_t>(dib.width * dib.bytesPerPixel);
    for (int y = 0; y < dib.height; ++y)
        std::copy_n(bytes.data() + y * rowBytes, rowBytes, dib.row(y));
}

void print(const Dib& dib, BOOL result) {
    const std::size_t rowBytes = static_cast<std::size_t>(dib.width * dib.bytesPerPixel);
    std::string pixels;
    for (int y = 0; y < dib.height; ++y)
        pixels += toHex(dib.row(y), rowBytes);
    std::printf("%d %s\n", result ? 1 : 0, pixels.c_str());
    std::fflush(stdout); // a case that brings the platform down is then the one after the last line
}

} // namespace

int main() {
    HDC srcDc = CreateCompatibleDC(nullptr);
    HDC dstDc = CreateCompatibleDC(nullptr);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!holdsCase(line))
            continue;
        const std::optional<StretchCase> c = parseCase(line);
        if (!c) {
            std::fprintf(stderr, "cannot read the case: %s\n", line.c_str());
            return 1;
        }
        Dib src = makeDib(srcDc, c->bpp, c->srcW, c->srcH);
        Dib dst = makeDib(dstDc, c->bpp, c->dstW, c->dstH);
        if (!src.bitmap || !dst.bitmap) {
            std::fprintf(stderr, "cannot create the bitmaps\n");
            return 1;
        }
        fill(src, c->srcHex);
        fill(dst, c->dstHex);
        HGDIOBJ oldSrc = SelectObject(srcDc, src.bitmap);
        HGDIOBJ oldDst = SelectObject(dstDc, dst.bitmap);
        // No SetStretchBltMode: the contexts keep BLACKONWHITE, as the program's do.
        const BOOL result =
            StretchBlt(dstDc, c->dx, c->dy, c->dw, c->dh, srcDc, c->sx, c->sy, c->sw, c->sh, SRCCOPY);
        GdiFlush();
        print(dst, result);
        SelectObject(srcDc, oldSrc);
        SelectObject(dstDc, oldDst);
        DeleteObject(src.bitmap);
        DeleteObject(dst.bitmap);
    }
    DeleteDC(srcDc);
    DeleteDC(dstDc);
    return 0;
}
