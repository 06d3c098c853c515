// SPDX-License-Identifier: MIT
#include "texture/texture_preview.h"

#include <algorithm>

#include "app/text.h"
#include "texture/large_buffer.h"
#include "texture/texture_composition.h"

namespace livrano {

bool meansEntireTemplate(std::string_view listText) {
    return equalsNoCase(trim(listText), kEntireTemplate);
}

PreviewScrollRange previewScrollRange(const AircraftSpec& spec, bool entireTemplate) {
    return {spec.TemplateSizeX - spec.TemplateSizeY, entireTemplate ? 128 : spec.TemplateSizeY};
}

PreviewPicture previewOf(const Bitmap& bitmap) {
    // A colour picture is read where it is; only an indexed one needs converting first.
    const Bitmap converted = bitmap.bytesPerPixel == 3 ? Bitmap{} : toColour(bitmap);
    const Bitmap& colour = bitmap.bytesPerPixel == 3 ? bitmap : converted;
    PreviewPicture picture;
    picture.width = colour.width;
    picture.height = colour.height;
    // Copied whole into room that is not cleared first, then red and blue swapped in place: a
    // build shows every texture it composes, and clearing and faulting in a fresh picture cost
    // more than the copy.
    picture.rgb = largeBuffer(colour.pixels.size());
    picture.rgb.assign(colour.pixels.begin(), colour.pixels.end());
    for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
        std::swap(picture.rgb[i], picture.rgb[i + 2]);
    return picture;
}

namespace {

bool drawEntireTemplate(const AircraftSpec& spec, BitmapSurfaces& s, bool alpha, int left) {
    const int side = spec.TemplateSizeY;
    if (alpha)
        return CreateSurface8(s, 8, side, side) && StretchSection8(s, 0, 0, side, side, left, 0, side, side);
    return CreateSurface24(s, 24, side, side) && StretchSection24(s, 0, 0, side, side, left, 0, side, side);
}

bool drawTexture(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                 std::string_view name, bool alpha) {
    const std::string wanted = trim(name);
    const std::size_t count = std::min<std::size_t>(
        static_cast<std::size_t>(std::max<int>(spec.NumTextures, 0)), spec.Textures.size());
    for (std::size_t k = 0; k < count; ++k) {
        const TextureSpec& texture = spec.Textures[k];
        if (trim(texture.ViewName) != wanted)
            continue;
        // Without an alpha template the alpha copies fail, so the picture stays as it was.
        if (alpha)
            return surfaces.AlphaLoaded && ComposeAlpha8(texture, surfaces);
        return ComposeTexture24(texture, surfaces, frontend);
    }
    return false;
}

} // namespace

bool DrawPreview(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                 std::string_view listText, bool alpha, int scrollValue) {
    FreeWorkSurfaces(surfaces);
    const bool entire = meansEntireTemplate(listText);
    if (!(entire ? drawEntireTemplate(spec, surfaces, alpha, scrollValue)
                 : drawTexture(spec, surfaces, frontend, listText, alpha)))
        return false;
    // ComposeTexture24 shows the colour texture itself, as it does during a build.
    if (entire || alpha)
        frontend.showPreview(previewOf(alpha ? surfaces.WorkSurface8.bitmap : surfaces.WorkSurface24.bitmap));
    return true;
}

} // namespace livrano
