// SPDX-License-Identifier: MIT
#pragma once
// The main window's preview of the loaded template: the whole template seen through a square
// that scrolls sideways, or one texture exactly as the build composes it, in colour or as its
// alpha channel. Drawn from the template surfaces onto the work surfaces.

#include <string_view>

#include "aircraft/aircraft_spec.h"
#include "app/frontend.h"
#include "texture/bitmap.h"
#include "texture/bitmap_surfaces.h"

namespace livrano {

// The texture list's line for the whole template.
inline constexpr std::string_view kEntireTemplate = "*Entire Template*";

// True when the list text, trimmed, is kEntireTemplate without regard to case.
bool meansEntireTemplate(std::string_view listText);

struct PreviewScrollRange {
    int maximum = 0;     // TemplateSizeX - TemplateSizeY: the square never leaves the template
    int largeChange = 0; // 128 for the whole template, else TemplateSizeY
};
PreviewScrollRange previewScrollRange(const AircraftSpec& spec, bool entireTemplate);

// A colour bitmap (or an indexed one, through its table) as the frontend's picture.
PreviewPicture previewOf(const Bitmap& bitmap);

// DrawPreview: frees the work surfaces and draws the list's choice from the alpha template (alpha) or the
// colour template: for the whole template the square of side TemplateSizeY whose left edge is scrollValue,
// for a texture (the first whose trimmed ViewName equals the trimmed text, case mattering) its sections as
// the build copies them; then hands the picture to frontend.showPreview. False, showing nothing, when the
// work surface cannot be made, the last copy fails (an alpha preview without an alpha template always does)
// or the text names no texture. The window does not call it while a specification loads (SpecLoading).
bool DrawPreview(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                 std::string_view listText, bool alpha, int scrollValue);

} // namespace livrano
