// SPDX-License-Identifier: MIT
#include "screens/progress_bar.h"

namespace livrano {

ProgressBarGeometry progressBarGeometry(double percent, double innerWidth) {
    ProgressBarGeometry g;
    g.width = percent * (innerWidth - 60.0) / 100.0;
    return g;
}

} // namespace livrano
