// SPDX-License-Identifier: MIT
#pragma once
// Keeps the skinned windows as they were designed at 96 pixels per inch. Qt lays widgets out in
// device-independent pixels, so sizes already hold; point-sized fonts still grow with the
// screen's logical pixels per inch and are scaled back by 96 / that value.

class QWidget;

namespace livrano {

// The primary screen's horizontal logical pixels per inch, rounded; 96 without a screen.
int screenPixelsPerInch();
// True when the screen is at the designed 96 pixels per inch.
bool IsSmallFonts();
// 96 / pixelsPerInch in single precision (1.0 for a value of 0 or less).
float fontScaleFactor(int pixelsPerInch);

// Scales the point-sized font of the window and of every widget in it by
// fontScaleFactor(pixelsPerInch), so that each text keeps its designed pixel height; pixel-sized
// fonts and every size and position are left alone. Call once per window, after its widgets are
// made; a second call would scale again.
void SmallFontFix(QWidget& window, int pixelsPerInch);
void SmallFontFix(QWidget& window); // at screenPixelsPerInch()

} // namespace livrano
