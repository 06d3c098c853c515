// SPDX-License-Identifier: MIT
// The windows' tests run offscreen unless told otherwise, with the program's own Qt set-up.
#include <QApplication>

#include <gtest/gtest.h>

#include "screens/program.h"
#include "skin/design_font.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    livrano::useDevicePixels();
    QApplication app(argc, argv);
    livrano::ensureDesignFont();
    return RUN_ALL_TESTS();
}
