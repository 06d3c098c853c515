// SPDX-License-Identifier: MIT
#pragma once
// The geometry of the progress bar inside its area, in the area's own units
// (twips in the original layout: 15 per pixel at 96 DPI).

namespace livrano {

struct ProgressBarGeometry {
    double left = 30;
    double top = 30;
    double height = 270;
    double width = 0;
};

// The bar for a percentage in an area whose inner width is innerWidth. Nothing is clamped:
// a value above 100 gives a bar wider than the area less its margins, a negative one a
// negative width (callers that draw treat that as empty).
ProgressBarGeometry progressBarGeometry(double percent, double innerWidth);

} // namespace livrano
