// SPDX-License-Identifier: MIT
#include "screens/desktop_identity.h"

#include <QGuiApplication>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace livrano {
namespace {

// The desktop entry the package installs names what the program sets: its file name, and the
// window class it starts (StartupWMClass); the icon comes from the build tree here.
TEST(DesktopIdentity, TheDesktopEntryNamesWhatTheProgramSets) {
    const QString name = QGuiApplication::applicationName();
    introduceToDesktop(LIVRANO_BUILD_DIR);
    const std::string desktopFile = QGuiApplication::desktopFileName().toStdString();
    EXPECT_EQ(desktopFile, "com.corvanesoftware.Livrano");
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());
    std::ifstream entry(std::string(LIVRANO_DESKTOP_DIR) + "/" + desktopFile + ".desktop");
    ASSERT_TRUE(entry) << desktopFile;
    std::string startupClass;
    for (std::string line; std::getline(entry, line);)
        if (line.starts_with("StartupWMClass="))
            startupClass = line.substr(15);
    EXPECT_EQ(startupClass, QGuiApplication::applicationName().toStdString());
    EXPECT_TRUE(programIcon("/no/such/folder").isNull());
    QGuiApplication::setApplicationName(name);
}

} // namespace
} // namespace livrano
