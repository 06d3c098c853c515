// SPDX-License-Identifier: MIT
#include "screens/desktop_identity.h"

#include <QGuiApplication>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace livrano {
namespace {

// The installed desktop entry names what the program sets; the icon comes from the build tree.
TEST(DesktopIdentity, TheDesktopEntryNamesWhatTheProgramSets) {
    const QString name = QGuiApplication::applicationName();
    introduceToDesktop(LIVRANO_BUILD_DIR);
    const std::string desktopFile = QGuiApplication::desktopFileName().toStdString();
    EXPECT_EQ(desktopFile, "com.corvanesoftware.Livrano");
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
    std::ifstream entry(std::string(LIVRANO_DESKTOP_DIR) + "/" + desktopFile + ".desktop");
    std::string startupClass;
    for (std::string line; std::getline(entry, line);)
        if (line.starts_with("StartupWMClass="))
            startupClass = line.substr(15);
    EXPECT_EQ(startupClass, QGuiApplication::applicationName().toStdString());
    QGuiApplication::setApplicationName(name);
}

} // namespace
} // namespace livrano
