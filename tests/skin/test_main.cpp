// SPDX-License-Identifier: MIT
// The skin tests need an application object; they run offscreen unless told otherwise.
#include <QApplication>

#include <gtest/gtest.h>

#include "skin/design_font.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    livrano::ensureDesignFont();
    return RUN_ALL_TESTS();
}
