// SPDX-License-Identifier: MIT
#pragma once
// The four bitmaps the texture pipeline works on, and their operations. The colour template is
// held as blue-green-red whatever depth its file had; the alpha template keeps its palette
// indices and colour table. The work surfaces hold one texture's colour and alpha while it is
// composed and saved for the converter.
//
// `DcCreated` and `Ready` tell how far a surface got: DcCreated once an operation began setting
// it up, Ready once it holds a picture that may be drawn on or saved. Only these flags say
// whether a surface holds something.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "texture/bitmap.h"
#include "texture/bmp_reader.h"

namespace livrano {

struct Surface {
    bool DcCreated = false;
    bool Ready = false;
    Bitmap bitmap;
};

struct BitmapSurfaces {
    Surface TemplateSurface24;
    Surface TemplateSurface8;
    Surface WorkSurface24;
    Surface WorkSurface8;
    // TemplateSurface8 holds the aircraft's alpha companion: set by a template load that read it,
    // cleared when the next load begins.
    bool AlphaLoaded = false;
    // The colour table WorkSurface8 is created with: the alpha template's at each create; with
    // no alpha template loaded it keeps whatever table the last create used (black at first).
    std::vector<PaletteEntry> workTable8 = std::vector<PaletteEntry>(256);
};

// The largest work surface, in pixels: as many as the template reader accepts (8192 x 8192).
inline constexpr std::int64_t kMaxSurfacePixels = BmpLimits{}.maxPixels;

// Loads a template file into TemplateSurface24 as colour. False when the file cannot be read as
// a BMP or its picture does not fit in the memory left; the surface is then empty and not Ready,
// and `fault`, when given, says why.
bool LoadBitmap24(BitmapSurfaces& surfaces, const std::filesystem::path& path, std::string* fault = nullptr);

// Loads the alpha companion into TemplateSurface8. The path "IGNORE" returns false at once and
// changes nothing. A 1, 4 or 8-bit file keeps its indices and table; a colour file (a grey
// picture saved as 24-bit is common) becomes 8-bit grey levels with a grey-ramp table.
bool LoadBitmap8(BitmapSurfaces& surfaces, const std::filesystem::path& path);

// A new all-black WorkSurface24 in place of any earlier one. Only bitCount 24 and sizes within
// kMaxSurfacePixels and the memory left succeed; on failure the surface is DcCreated but not
// Ready and holds nothing.
bool CreateSurface24(BitmapSurfaces& surfaces, int bitCount, int width, int height);

// A new WorkSurface8 (every pixel index 0) whose table is copied from the alpha template when
// one is loaded (entries it lacks black), else the table of the previous create. bitCount 8 only.
bool CreateSurface8(BitmapSurfaces& surfaces, int bitCount, int width, int height);

// Scales a rectangle of the template onto the work surface of the same depth (see stretchRect,
// which shares the rows out over `threads`). False when either surface is not Ready.
bool StretchSection24(BitmapSurfaces& surfaces, int destX, int destY, int destWidth, int destHeight, int srcX,
                      int srcY, int srcWidth, int srcHeight, unsigned threads = 1);
bool StretchSection8(BitmapSurfaces& surfaces, int destX, int destY, int destWidth, int destHeight, int srcX,
                     int srcY, int srcWidth, int srcHeight, unsigned threads = 1);

// The intermediate file of a work surface: programFolder + "\TempBitmaps\" + name trimmed + ".bmp".
std::filesystem::path tempBitmapPath(const std::filesystem::path& programFolder, std::string_view name);

// Writes WorkSurface24 as a 24-bit BMP to tempBitmapPath. The folder is not created. False when
// the surface is not Ready or the file cannot be written (an earlier file then stays unchanged).
bool SaveBitmap24(const BitmapSurfaces& surfaces, const std::filesystem::path& programFolder,
                  std::string_view name);

// Writes WorkSurface8 as an 8-bit BMP. With alphaLoaded: its pixels and table. Without: every
// pixel 255 and the grey ramp, whatever was drawn. False as for SaveBitmap24.
bool SaveBitmap8(const BitmapSurfaces& surfaces, const std::filesystem::path& programFolder,
                 std::string_view name, bool alphaLoaded);

// What SaveBitmap8 writes without an alpha template: every pixel 255 on the grey ramp.
Bitmap opaqueAlpha(int width, int height);

// Releases both work surfaces and clears their flags; a second call releases nothing.
void FreeWorkSurfaces(BitmapSurfaces& surfaces);

// Releases both template surfaces the same way (before a new template is loaded).
void FreeTemplateSurfaces(BitmapSurfaces& surfaces);

} // namespace livrano
