// SPDX-License-Identifier: MIT
#include "texture/bitmap.h"

#include "texture/large_buffer.h"

namespace livrano {

BitmapView viewOf(const Bitmap& bitmap) {
    return BitmapView{bitmap.width,
                      bitmap.height,
                      bitmap.bytesPerPixel,
                      bitmap.pixels.data(),
                      static_cast<std::ptrdiff_t>(bitmap.rowBytes()),
                      bitmap.palette};
}

std::vector<PaletteEntry> greyRamp() {
    std::vector<PaletteEntry> ramp(256);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        ramp[i] = PaletteEntry{v, v, v, 0};
    }
    return ramp;
}

std::uint8_t greyLevel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint8_t>((299u * red + 587u * green + 114u * blue + 500u) / 1000u);
}

std::vector<std::uint8_t> greyLevels(const Bitmap& bitmap) {
    const std::size_t count =
        static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height);
    std::vector<std::uint8_t> grey = largeBuffer(count);
    grey.resize(count);
    if (bitmap.bytesPerPixel == 1) {
        std::vector<std::uint8_t> lookup(256, 0);
        for (std::size_t i = 0; i < bitmap.palette.size() && i < lookup.size(); ++i) {
            const PaletteEntry& e = bitmap.palette[i];
            lookup[i] = greyLevel(e.red, e.green, e.blue);
        }
        for (std::size_t i = 0; i < count; ++i)
            grey[i] = lookup[bitmap.pixels[i]];
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* p = bitmap.pixels.data() + i * 3;
            grey[i] = greyLevel(p[2], p[1], p[0]);
        }
    }
    return grey;
}

Bitmap toColour(Bitmap bitmap) {
    if (bitmap.bytesPerPixel == 3)
        return bitmap;
    Bitmap colour;
    colour.width = bitmap.width;
    colour.height = bitmap.height;
    colour.bytesPerPixel = 3;
    colour.pixels.resize(bitmap.pixels.size() * 3);
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
        const std::uint8_t index = bitmap.pixels[i];
        const PaletteEntry e = index < bitmap.palette.size() ? bitmap.palette[index] : PaletteEntry{};
        colour.pixels[i * 3] = e.blue;
        colour.pixels[i * 3 + 1] = e.green;
        colour.pixels[i * 3 + 2] = e.red;
    }
    return colour;
}

Bitmap toGreyIndexed(const Bitmap& bitmap) {
    Bitmap grey;
    grey.width = bitmap.width;
    grey.height = bitmap.height;
    grey.bytesPerPixel = 1;
    grey.pixels = greyLevels(bitmap);
    grey.palette = greyRamp();
    return grey;
}

} // namespace livrano
