// SPDX-License-Identifier: MIT
#pragma once
// The colours of the program's skin. The screens colour their labels grey (96, 96, 96), their
// lists ivory (255, 254, 250) and their emphasised texts navy (0, 69, 140); the skin is built
// around those three.

#include <QColor>

namespace livrano::media {

inline const QColor kKey(0, 0, 0);            // cut away from every window
inline const QColor kNavy(0, 69, 140);        // emphasised text, buttons
inline const QColor kNavyDeep(10, 34, 66);    // header bands, outlines
inline const QColor kNavyLight(38, 110, 190); // highlighted buttons
inline const QColor kBody(238, 241, 245);     // window surface behind every control
inline const QColor kIvory(255, 254, 250);    // panels, as the lists
inline const QColor kLine(203, 211, 222);     // separators and frames
inline const QColor kLabel(96, 96, 96);       // label text
inline const QColor kAmber(242, 169, 0);      // aviation accent
inline const QColor kAlert(205, 62, 58);      // the close button under the mouse
inline const QColor kDisabledFill(214, 219, 226);
inline const QColor kDisabledInk(160, 167, 177);

} // namespace livrano::media
