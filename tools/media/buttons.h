// SPDX-License-Identifier: MIT
#pragma once
// The image buttons' strips: four frames stacked top to bottom (enabled, highlight, down,
// disabled), each drawn on the flat colour the button sits on in the windows, or on the key
// colour (black) where it sits on more than one.

#include <QImage>
#include <QString>

#include <vector>

namespace livrano::media {

struct Strip {
    QString name; // the file is name + ".bmp"
    QImage image;
};

// Close, Help, Next, Previous, Empty, Check (33 x 140) and Wizard, CreateAircraft (166 x 200).
std::vector<Strip> buttonStrips();

} // namespace livrano::media
