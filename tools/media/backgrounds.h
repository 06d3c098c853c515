// SPDX-License-Identifier: MIT
#pragma once
// The window backgrounds: the art inside a non-rectangular outline, the key colour outside it.
// Every pixel inside the outline differs from the key, so the shape is exactly the outline.

#include <QImage>

namespace livrano::media {

// 800 x 600: header with the wordmark, the item column, the preview panel, the status area.
QImage mainBackground();
// 400 x 300: header with a tab for the close button, the body of every wizard screen.
QImage wizardBackground();

} // namespace livrano::media
