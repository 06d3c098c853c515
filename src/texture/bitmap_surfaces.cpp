// SPDX-License-Identifier: MIT
#include "texture/bitmap_surfaces.h"

#include <algorithm>
#include <new>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/file_names.h"
#include "app/text.h"
#include "texture/bmp_reader.h"
#include "texture/bmp_writer.h"
#include "texture/large_buffer.h"
#include "texture/stretch.h"

namespace livrano {

namespace {

void release(Surface& surface) {
    surface.DcCreated = false;
    surface.Ready = false;
    surface.bitmap = Bitmap{};
}

// Sets up an empty surface of the given size; the previous picture is dropped either way.
bool create(Surface& surface, int bitCount, int bytesPerPixel, int width, int height) {
    surface.DcCreated = true;
    surface.Ready = false;
    surface.bitmap = Bitmap{};
    if (bitCount != bytesPerPixel * 8 || width <= 0 || height <= 0 ||
        std::int64_t{width} * height > kMaxSurfacePixels)
        return false;
    surface.bitmap.width = width;
    surface.bitmap.height = height;
    surface.bitmap.bytesPerPixel = bytesPerPixel;
    try {
        const std::size_t size = surface.bitmap.rowBytes() * static_cast<std::size_t>(height);
        surface.bitmap.pixels = largeBuffer(size);
        surface.bitmap.pixels.resize(size);
    } catch (const std::bad_alloc&) { // a size the machine cannot hold fails like the platform call
        surface.bitmap = Bitmap{};
        return false;
    }
    return true;
}

bool load(Surface& surface, const std::filesystem::path& path, bool alpha, std::string* fault) {
    surface.DcCreated = true;
    surface.Ready = false;
    surface.bitmap = Bitmap{};
    if (fault != nullptr)
        *fault = "there is too little memory for it";
    try {
        std::optional<Bitmap> picture = readBmpFile(path, {}, fault);
        if (!picture)
            return false;
        if (alpha)
            surface.bitmap = picture->bytesPerPixel == 1 ? std::move(*picture) : toGreyIndexed(*picture);
        else
            surface.bitmap = toColour(std::move(*picture));
    } catch (const std::bad_alloc&) { // a template too large for the memory left: not loaded
        surface.bitmap = Bitmap{};
        return false;
    }
    surface.Ready = true;
    return true;
}

bool stretch(Surface& dst, const Surface& src, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
             unsigned threads) {
    if (!dst.Ready || !src.Ready)
        return false;
    return stretchRect(dst.bitmap, dx, dy, dw, dh, src.bitmap, sx, sy, sw, sh, threads);
}

} // namespace

bool LoadBitmap24(BitmapSurfaces& surfaces, const std::filesystem::path& path, std::string* fault) {
    return load(surfaces.TemplateSurface24, path, false, fault);
}

bool LoadBitmap8(BitmapSurfaces& surfaces, const std::filesystem::path& path) {
    if (path == "IGNORE")
        return false;
    return load(surfaces.TemplateSurface8, path, true, nullptr);
}

bool CreateSurface24(BitmapSurfaces& surfaces, int bitCount, int width, int height) {
    if (!create(surfaces.WorkSurface24, bitCount, 3, width, height))
        return false;
    surfaces.WorkSurface24.Ready = true;
    return true;
}

bool CreateSurface8(BitmapSurfaces& surfaces, int bitCount, int width, int height) {
    if (!create(surfaces.WorkSurface8, bitCount, 1, width, height))
        return false;
    const Surface& alpha = surfaces.TemplateSurface8;
    if (alpha.Ready) {
        std::vector<PaletteEntry> table = alpha.bitmap.palette;
        table.resize(256);
        surfaces.workTable8 = std::move(table);
    }
    surfaces.WorkSurface8.bitmap.palette = surfaces.workTable8;
    surfaces.WorkSurface8.Ready = true;
    return true;
}

bool StretchSection24(BitmapSurfaces& surfaces, int destX, int destY, int destWidth, int destHeight, int srcX,
                      int srcY, int srcWidth, int srcHeight, unsigned threads) {
    return stretch(surfaces.WorkSurface24, surfaces.TemplateSurface24, destX, destY, destWidth, destHeight,
                   srcX, srcY, srcWidth, srcHeight, threads);
}

bool StretchSection8(BitmapSurfaces& surfaces, int destX, int destY, int destWidth, int destHeight, int srcX,
                     int srcY, int srcWidth, int srcHeight, unsigned threads) {
    return stretch(surfaces.WorkSurface8, surfaces.TemplateSurface8, destX, destY, destWidth, destHeight,
                   srcX, srcY, srcWidth, srcHeight, threads);
}

std::filesystem::path tempBitmapPath(const std::filesystem::path& programFolder, std::string_view name) {
    // The folder is the program's own, but an installation copied from Windows may spell it in
    // another case.
    const std::filesystem::path folder = resolveCaseless(programLocation(programFolder, "\\TempBitmaps"));
    return folder / pathFromWindows1252(trim(name) + ".bmp");
}

bool SaveBitmap24(const BitmapSurfaces& surfaces, const std::filesystem::path& programFolder,
                  std::string_view name) {
    const Surface& work = surfaces.WorkSurface24;
    if (!work.Ready)
        return false;
    // An intermediate the build makes again whenever it needs it: no sync.
    return replaceFileBytes(tempBitmapPath(programFolder, name), encodeBmp24(work.bitmap),
                            unsyncedFileSteps())
        .ok();
}

bool SaveBitmap8(const BitmapSurfaces& surfaces, const std::filesystem::path& programFolder,
                 std::string_view name, bool alphaLoaded) {
    const Surface& work = surfaces.WorkSurface8;
    if (!work.Ready)
        return false;
    // No alpha template: a uniform, fully opaque alpha whatever was drawn.
    const std::vector<std::uint8_t> file =
        alphaLoaded ? encodeBmp8(work.bitmap, work.bitmap.palette)
                    : encodeBmp8(opaqueAlpha(work.bitmap.width, work.bitmap.height), greyRamp());
    return replaceFileBytes(tempBitmapPath(programFolder, name), file, unsyncedFileSteps()).ok();
}

Bitmap opaqueAlpha(int width, int height) {
    return Bitmap{
        width, height, 1,
        std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 255),
        greyRamp()};
}

void FreeWorkSurfaces(BitmapSurfaces& surfaces) {
    release(surfaces.WorkSurface24);
    release(surfaces.WorkSurface8);
}

void FreeTemplateSurfaces(BitmapSurfaces& surfaces) {
    release(surfaces.TemplateSurface24);
    release(surfaces.TemplateSurface8);
}

} // namespace livrano
