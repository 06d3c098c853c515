// SPDX-License-Identifier: MIT
#pragma once
// Pictures made in code for the encoder's benchmark and its quality test: the smooth livery a
// template starts from, and three with the detail of real paint and photographs. Each is the same
// on every machine (its own integer hash, no library random numbers) and any size.

#include <string>
#include <vector>

#include "texture/rgba_image.h"

namespace livrano::bench {

// Smooth gradients, a cheat line of flat bands, block letters, windows; a fading alpha.
RgbaImage smoothLivery(int size);
// Colour and alpha from noise at many scales, from broad light to per-pixel grain.
RgbaImage photoNoise(int size);
// Panels of paint with panel lines, rivets, grime streaks, soot and scratches.
RgbaImage weathering(int size);
// Hard-edged stripes, discs and text of several sizes over textured paint.
RgbaImage edgesAndText(int size);

// With the statistics of photographs: grain at every pixel, detail down to the pixel.
// Foliage, gravel or cloth: fine texture everywhere.
RgbaImage photoFineTexture(int size);
// A sky or a backdrop: a low-contrast gradient under grain.
RgbaImage photoGrainyGradient(int size);
// Branches, wires and window frames: thin dark lines over a bright ground.
RgbaImage photoHighContrast(int size);
// A landscape: the three above, sky over detail over ground.
RgbaImage photoMix(int size);

struct NamedPicture {
    std::string name;
    RgbaImage (*make)(int size);
    bool photographic; // detail like real paint: the encoder's targets hold on these
};

const std::vector<NamedPicture>& paintPictures();

} // namespace livrano::bench
