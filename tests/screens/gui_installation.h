// SPDX-License-Identifier: MIT
#pragma once
// A demo installation in a temporary folder, as `livrano-cli demo` writes it (with the build's
// media and manual), and a program on it whose calls to the desktop are recorded instead of made.

#include <QString>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "demo/demo_installation.h"
#include "screens/program.h"
#include "support/temp_dir.h"

// Failures print QStrings as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace livrano {
class ImageButton;
}

namespace livrano::testkit {

// A left click on an image button's picture, as the mouse gives it.
void clickButton(ImageButton& button);

struct DesktopRecord {
    std::vector<QString> messages;
    std::vector<std::filesystem::path> sounds;
    std::vector<std::filesystem::path> documents;
    std::vector<QString> dialogFolders;
    QString chosenFile;   // what the open-file dialog returns; empty: cancelled
    QString chosenFolder; // what the folder dialog returns once (then it is cancelled); empty: cancelled
    bool documentViewer = true; // false: no program opens documents (no xdg-open)
    std::vector<QString> questions;
    bool answer = true;             // what every question is answered
    std::vector<int> progressSteps; // each `done` the progress window was shown
    int ends = 0;
};

class GuiInstallation {
public:
    GuiInstallation();

    const std::filesystem::path& programFolder() const { return m_demo.programFolder; }
    const DemoInstallation& demo() const { return m_demo; }
    DesktopRecord& record() { return *m_record; }
    // Desktop calls that are recorded in record() instead of made.
    Desktop desktop() const;

    // A program on this installation (not yet started), refreshing it from the build's files.
    std::unique_ptr<Program> program();
    // A started program; fails the test when start-up fails.
    std::unique_ptr<Program> started();

private:
    TempDir m_dir;
    DemoInstallation m_demo;
    std::shared_ptr<DesktopRecord> m_record = std::make_shared<DesktopRecord>();
};

} // namespace livrano::testkit
