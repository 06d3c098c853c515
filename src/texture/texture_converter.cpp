// SPDX-License-Identifier: MIT
#include "texture/texture_converter.h"

#include <algorithm>
#include <array>
#include <functional>
#include <new>
#include <span>

#include "app/code_page.h"
#include "app/file_bytes.h"
#include "texture/bitmap.h"
#include "texture/bitmap_surfaces.h"
#include "texture/bmp_reader.h"
#include "texture/large_buffer.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// Refused when the two pictures differ in size or are beyond what the BMP reader takes
// (BmpLimits): a picture in memory converts exactly when its saved bitmaps would.
Status checkSizes(const BitmapView& colour, const BitmapView& alpha) {
    if (colour.width != alpha.width || colour.height != alpha.height)
        return Status::Refused("The colour bitmap is " + std::to_string(colour.width) + "x" +
                               std::to_string(colour.height) + " but the alpha bitmap is " +
                               std::to_string(alpha.width) + "x" + std::to_string(alpha.height) + ".");
    const BmpLimits limits;
    if (colour.width > limits.maxSide || colour.height > limits.maxSide ||
        std::int64_t{colour.width} * colour.height > limits.maxPixels)
        return Status::Refused("The picture is " + std::to_string(colour.width) + "x" +
                               std::to_string(colour.height) + ", larger than the converter takes.");
    return Status::Ok();
}

// The colour of one picture with the alpha of another of the same size, a row at a time: what
// toColour and greyLevels give (an index beyond a colour table reads as black), without making
// their pictures.
class CombinedRows {
public:
    CombinedRows(const BitmapView& colour, const BitmapView& alpha) : m_colour(colour), m_alpha(alpha) {
        std::copy_n(colour.palette.begin(), std::min(colour.palette.size(), m_colourOf.size()),
                    m_colourOf.begin());
        for (std::size_t i = 0; i < alpha.palette.size() && i < m_greyOf.size(); ++i)
            m_greyOf[i] = greyLevel(alpha.palette[i].red, alpha.palette[i].green, alpha.palette[i].blue);
    }

    // Row y as blue, green, red, alpha bytes.
    void bgra(int y, std::uint8_t* out) const {
        const std::uint8_t* c = m_colour.row(y);
        const std::uint8_t* a = m_alpha.row(y);
        const auto width = static_cast<std::size_t>(m_colour.width);
        if (m_colour.bytesPerPixel == 3 && m_alpha.bytesPerPixel == 1) { // the bitmaps a build saves
            for (std::size_t x = 0; x < width; ++x) {
                out[x * 4] = c[x * 3];
                out[x * 4 + 1] = c[x * 3 + 1];
                out[x * 4 + 2] = c[x * 3 + 2];
                out[x * 4 + 3] = m_greyOf[a[x]];
            }
            return;
        }
        for (std::size_t x = 0; x < width; ++x) {
            const PaletteEntry e = m_colour.bytesPerPixel == 3
                                       ? PaletteEntry{c[x * 3], c[x * 3 + 1], c[x * 3 + 2], 0}
                                       : m_colourOf[c[x]];
            out[x * 4] = e.blue;
            out[x * 4 + 1] = e.green;
            out[x * 4 + 2] = e.red;
            out[x * 4 + 3] =
                m_alpha.bytesPerPixel == 1 ? m_greyOf[a[x]] : greyLevel(a[x * 3 + 2], a[x * 3 + 1], a[x * 3]);
        }
    }

private:
    BitmapView m_colour;
    BitmapView m_alpha;
    std::array<PaletteEntry, 256> m_colourOf{};
    std::array<std::uint8_t, 256> m_greyOf{};
};

Status compose(const BitmapView& colour, const BitmapView& alpha, RgbaImage& out) {
    if (Status s = checkSizes(colour, alpha); !s)
        return s;
    const CombinedRows rows(colour, alpha);
    out.width = colour.width;
    out.height = colour.height;
    // Made a row at a time and appended, so that the picture's memory is written once, not
    // cleared first.
    const std::size_t rowBytes = static_cast<std::size_t>(colour.width) * 4;
    out.rgba = largeBuffer(rowBytes * static_cast<std::size_t>(colour.height));
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < colour.height; ++y) {
        rows.bgra(y, row.data());
        for (std::size_t x = 0; x < rowBytes; x += 4)
            std::swap(row[x], row[x + 2]);
        out.rgba.insert(out.rgba.end(), row.begin(), row.end());
    }
    return Status::Ok();
}

// Calls `use` with the pictures of both files, read where they lie; refused, naming the file,
// when either cannot be read.
Status withBitmaps(const fs::path& colourBmp, const fs::path& alphaBmp,
                   const std::function<Status(const BitmapView&, const BitmapView&)>& use) {
    std::string why;
    Status used = Status::Ok();
    bool alphaRead = true;
    const bool colourRead = withBmpFile(
        colourBmp,
        [&](const BitmapView& colour) {
            alphaRead = withBmpFile(
                alphaBmp, [&](const BitmapView& alpha) { used = use(colour, alpha); }, {}, &why);
        },
        {}, &why);
    if (!colourRead)
        return Status::Refused("The colour bitmap " + utf8FromPath(colourBmp) +
                               " cannot be read as a BMP file: " + why + ".");
    if (!alphaRead)
        return Status::Refused("The alpha bitmap " + utf8FromPath(alphaBmp) +
                               " cannot be read as a BMP file: " + why + ".");
    return used;
}

Status writeTexture(std::span<const std::uint8_t> bytes, const fs::path& output, FileSteps& steps) {
    if (!replaceFileBytes(output, bytes, steps))
        return Status::Error("The texture file " + utf8FromPath(output) + " cannot be written.");
    return Status::Ok();
}

} // namespace

Status composeTextureImage(const Bitmap& colour, const Bitmap& alpha, RgbaImage& out) {
    return compose(viewOf(colour), viewOf(alpha), out);
}

Status composeTextureImage(const fs::path& colourBmp, const fs::path& alphaBmp, RgbaImage& out) {
    return withBitmaps(colourBmp, alphaBmp, [&](const BitmapView& colour, const BitmapView& alpha) {
        return compose(colour, alpha, out);
    });
}

Status convertTexture(const RgbaImage& image, const fs::path& output, TextureContainer container,
                      const TextureOptions& options, FileSteps& steps) {
    return writeTexture(encodeTexture(image, container, options), output, steps);
}

Status convertTexture(const fs::path& colourBmp, const fs::path& alphaBmp, const fs::path& output,
                      TextureContainer container, const TextureOptions& options, FileSteps& steps) {
    if (options.format == TextureFormat::Argb32 && !options.mipmaps) {
        // A 32-bit texture's rows are the bitmaps' bytes side by side: made straight into the
        // file's bytes, without a picture of the whole in between.
        std::vector<std::uint8_t> file;
        const Status made =
            withBitmaps(colourBmp, alphaBmp, [&](const BitmapView& colour, const BitmapView& alpha) {
                if (Status s = checkSizes(colour, alpha); !s)
                    return s;
                const CombinedRows rows(colour, alpha);
                file = encodeArgb32Texture(
                    colour.width, colour.height, [&](int y, std::uint8_t* bgra) { rows.bgra(y, bgra); },
                    container);
                return Status::Ok();
            });
        return made ? writeTexture(file, output, steps) : made;
    }
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
