// Runs the platform's own StretchBlt on the cases read from standard input and prints what it
// drew: the reference our scaler is held against. Built for Windows (MinGW) and run under Wine.
//
// Input, one case a line: bytesPerPixel srcWidth srcHeight dstWidth dstHeight dx dy dw dh sx sy sw
// sh srcHex dstHex, the pixels top-down without padding (dstHex is what the destination holds
// before the call). Output, one line a case: StretchBlt's result (0 or 1) and the destination's
// pixels afterwards in the same form.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

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
    std::size_t at = 0;
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width * dib.bytesPerPixel; ++x, at += 2)
            dib.row(y)[x] = static_cast<std::uint8_t>(std::stoi(hex.substr(at, 2), nullptr, 16));
}

void print(const Dib& dib, BOOL result) {
    std::printf("%d ", result ? 1 : 0);
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width * dib.bytesPerPixel; ++x)
            std::printf("%02x", dib.row(y)[x]);
    std::printf("\n");
}

} // namespace

int main() {
    int bpp, sw0, sh0, dw0, dh0, dx, dy, dw, dh, sx, sy, sw, sh;
    std::string srcHex, dstHex;
    HDC srcDc = CreateCompatibleDC(nullptr);
    HDC dstDc = CreateCompatibleDC(nullptr);
    while (std::cin >> bpp >> sw0 >> sh0 >> dw0 >> dh0 >> dx >> dy >> dw >> dh >> sx >> sy >> sw >> sh >>
           srcHex >> dstHex) {
        Dib src = makeDib(srcDc, bpp, sw0, sh0);
        Dib dst = makeDib(dstDc, bpp, dw0, dh0);
        if (!src.bitmap || !dst.bitmap) {
            std::fprintf(stderr, "cannot create the bitmaps\n");
            return 1;
        }
        fill(src, srcHex);
        fill(dst, dstHex);
        HGDIOBJ oldSrc = SelectObject(srcDc, src.bitmap);
        HGDIOBJ oldDst = SelectObject(dstDc, dst.bitmap);
        // No SetStretchBltMode: the contexts keep BLACKONWHITE, as the program's do.
        const BOOL result = StretchBlt(dstDc, dx, dy, dw, dh, srcDc, sx, sy, sw, sh, SRCCOPY);
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
