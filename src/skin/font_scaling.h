// SPDX-License-Identifier: MIT
#pragma once
// Keeps the skinned windows as they were designed at 96 pixels per inch. Qt lays widgets out in
// device-independent pixels, so sizes already hold; point-sized fonts still grow with the
// screen's logical pixels per inch and are scaled back by 96 / that value.

class QWidget;

namespace livrano {

// The primary screen's horizontal logical pixels per inch, rounded; 96 without a screen.
int screenPixelsPerInch();
// Measures screenPixelsPerInch() and keeps it for SmallFontFix; true when it is the designed 96.
bool IsSmallFonts();
// 96 / pixelsPerInch in single precision (1.0 for a value of 0 or less).
float fontScaleFactor(int pixelsPerInch);

// Scales the point-sized font of the window and of every widget in it by fontScaleFactor of the
// pixels per inch IsSmallFonts measures (96 when it returns true), so that each text keeps its
// designed pixel height; pixel-sized fonts and every size and position are left alone. Call once
// per window, after its widgets are made; a second call would scale again.
void SmallFontFix(QWidget& window);

} // namespace livrano
