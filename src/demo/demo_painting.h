// SPDX-License-Identifier: MIT
#pragma once
// The pictures of the demo installation, painted by the program itself: livery parts a painter
// recognises (a fuselage with its cheatline, windows and registration, a tail fin with a logo,
// wings, engine nacelles) in a colour picture and the matching alpha picture, whose grey level
// is what the simulator makes of each pixel's shine (windows reflect, paint does not).

#include <cstdint>
#include <string>

#include "texture/bitmap.h"

namespace livrano {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The colours and words of one livery.
struct LiveryDesign {
    Rgb body;
    Rgb stripe;
    Rgb accent;
    std::string registration; // letters, digits, '-' and blanks
    std::string titles;       // the name painted along the fuselage
};

enum class LiveryPart { Fuselage, Wing, Tail, Nacelle };

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;
};

// A colour picture (3 bytes per pixel) and its alpha (grey indexed), both of one size.
struct LiveryPicture {
    Bitmap colour;
    Bitmap alpha;
};

// A blank picture of the given size: body colour, alpha 255.
LiveryPicture blankPicture(int width, int height, const LiveryDesign& design);

// Paints one part of the livery into `area` of both pictures. Preconditions: the area lies
// inside the pictures.
void paintPart(LiveryPicture& picture, LiveryPart part, PixelRect area, const LiveryDesign& design);

} // namespace livrano
