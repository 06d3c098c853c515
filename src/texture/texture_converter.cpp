// SPDX-License-Identifier: MIT
#include "texture/texture_converter.h"

#include <algorithm>
#include <array>
#include <new>

#include "app/code_page.h"
#include "texture/bitmap.h"
#include "texture/bitmap_surfaces.h"
#include "texture/bmp_reader.h"
#include "texture/byte_files.h"
#include "texture/large_buffer.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// The composition of both forms. An index beyond a colour table reads as black, as in toColour
// and greyLevels, whose results this gives without making their pictures.
Status compose(const BitmapView& colour, const BitmapView& alpha, RgbaImage& out) {
    if (colour.width != alpha.width || colour.height != alpha.height)
        return Status::Refused("The colour bitmap is " + std::to_string(colour.width) + "x" +
                               std::to_string(colour.height) + " but the alpha bitmap is " +
                               std::to_string(alpha.width) + "x" + std::to_string(alpha.height) + ".");
    // The limits of the bitmaps the converter reads: a picture in memory converts exactly when
    // its saved bitmaps would.
    const BmpLimits limits;
    if (colour.width > limits.maxSide || colour.height > limits.maxSide ||
        std::int64_t{colour.width} * colour.height > limits.maxPixels)
        return Status::Refused("The picture is " + std::to_string(colour.width) + "x" +
                               std::to_string(colour.height) + ", larger than the converter takes.");
    std::array<PaletteEntry, 256> colourOf{};
    std::array<std::uint8_t, 256> greyOf{};
    std::copy_n(colour.palette.begin(), std::min(colour.palette.size(), colourOf.size()), colourOf.begin());
    for (std::size_t i = 0; i < alpha.palette.size() && i < greyOf.size(); ++i)
        greyOf[i] = greyLevel(alpha.palette[i].red, alpha.palette[i].green, alpha.palette[i].blue);
    out.width = colour.width;
    out.height = colour.height;
    // Made a row at a time and appended, so that the picture's memory is written once, not
    // cleared first.
    const std::size_t width = static_cast<std::size_t>(colour.width);
    out.rgba = largeBuffer(width * static_cast<std::size_t>(colour.height) * 4);
    std::vector<std::uint8_t> row(width * 4);
    for (int y = 0; y < colour.height; ++y) {
        const std::uint8_t* c = colour.row(y);
        const std::uint8_t* a = alpha.row(y);
        std::uint8_t* rgba = row.data();
        if (colour.bytesPerPixel == 3) {
            for (std::size_t x = 0; x < width; ++x) {
                rgba[x * 4] = c[x * 3 + 2];
                rgba[x * 4 + 1] = c[x * 3 + 1];
                rgba[x * 4 + 2] = c[x * 3];
            }
        } else {
            for (std::size_t x = 0; x < width; ++x) {
                const PaletteEntry& e = colourOf[c[x]];
                rgba[x * 4] = e.red;
                rgba[x * 4 + 1] = e.green;
                rgba[x * 4 + 2] = e.blue;
            }
        }
        if (alpha.bytesPerPixel == 1) {
            for (std::size_t x = 0; x < width; ++x)
                rgba[x * 4 + 3] = greyOf[a[x]];
        } else {
            for (std::size_t x = 0; x < width; ++x)
                rgba[x * 4 + 3] = greyLevel(a[x * 3 + 2], a[x * 3 + 1], a[x * 3]);
        }
        out.rgba.insert(out.rgba.end(), row.begin(), row.end());
    }
    return Status::Ok();
}

} // namespace

Status composeTextureImage(const Bitmap& colour, const Bitmap& alpha, RgbaImage& out) {
    return compose(viewOf(colour), viewOf(alpha), out);
}

Status composeTextureImage(const fs::path& colourBmp, const fs::path& alphaBmp, RgbaImage& out) {
    // Both files are read where they lie, without copies of their pictures.
    std::string why;
    Status composed = Status::Ok();
    bool alphaRead = true;
    const bool colourRead = withBmpFile(
        colourBmp,
        [&](const BitmapView& colour) {
            alphaRead = withBmpFile(
                alphaBmp, [&](const BitmapView& alpha) { composed = compose(colour, alpha, out); }, {}, &why);
        },
        {}, &why);
    if (!colourRead)
        return Status::Refused("The colour bitmap " + utf8FromPath(colourBmp) +
                               " cannot be read as a BMP file: " + why + ".");
    if (!alphaRead)
        return Status::Refused("The alpha bitmap " + utf8FromPath(alphaBmp) +
                               " cannot be read as a BMP file: " + why + ".");
    return composed;
}

Status convertTexture(const RgbaImage& image, const fs::path& output, TextureContainer container,
                      const TextureOptions& options, FileSteps& steps) {
    if (!writeByteFile(output, encodeTexture(image, container, options), steps))
        return Status::Error("The texture file " + utf8FromPath(output) + " cannot be written.");
    return Status::Ok();
}

Status convertTexture(const fs::path& colourBmp, const fs::path& alphaBmp, const fs::path& output,
                      TextureContainer container, const TextureOptions& options, FileSteps& steps) {
    RgbaImage image;
    if (Status s = composeTextureImage(colourBmp, alphaBmp, image); !s)
        return s;
    return convertTexture(image, output, container, options, steps);
}

std::int32_t BMPScompressBMP(const char* colourPath, const char* alphaPath, std::int32_t formatCode,
                             std::int16_t mipmapFlag, std::int16_t /*unusedFlag*/, const char* outputPath) {
    TextureOptions options;
    if (formatCode == kFormatCodeDxt3)
        options.format = TextureFormat::Dxt3;
    else if (formatCode == kFormatCodeArgb32)
        options.format = TextureFormat::Argb32;
    else
        return kConvertUnknownFormat;
    if (colourPath == nullptr || alphaPath == nullptr || outputPath == nullptr)
        return kConvertFailed;
    options.mipmaps = mipmapFlag == 1;
    try {
        const Status s =
            convertTexture(colourPath, alphaPath, outputPath, TextureContainer::FsBitmap, options);
        return s ? kConvertOk : kConvertFailed;
    } catch (const std::bad_alloc&) { // pictures too large for the memory left: no texture, no crash
        return kConvertFailed;
    }
}

bool CompressTexture(const fs::path& programFolder, std::string_view colourName, std::string_view alphaName,
                     std::string_view outputName, std::int16_t flag, std::int32_t formatCode) {
    const std::string colour = tempBitmapPath(programFolder, colourName).string();
    const std::string alpha = tempBitmapPath(programFolder, alphaName).string();
    const std::string output = tempBitmapPath(programFolder, outputName).string();
    return BMPScompressBMP(colour.c_str(), alpha.c_str(), formatCode, flag, flag, output.c_str()) ==
           kConvertOk;
}

} // namespace livrano
