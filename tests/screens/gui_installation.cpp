// SPDX-License-Identifier: MIT
#include "screens/gui_installation.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "skin/image_button.h"
#include "support/run_cli.h"

namespace livrano::testkit {

namespace fs = std::filesystem;

void clickButton(ImageButton& button) {
    QLabel* surface = button.findChild<QLabel*>();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(5, 5));
}

GuiInstallation::GuiInstallation() {
    // An accent in the path, as on many a painter's disk: messages that name files must show it.
    EXPECT_TRUE(CreateDemoInstallation(m_dir / "Café", m_demo));
    // Written again by the real `livrano-cli demo`: every test starts the window on a painter's demo.
    EXPECT_EQ(runCli("demo --force " + shellQuoted((m_dir / "Café").string())).exitCode, 0);
}

Desktop GuiInstallation::desktop() const {
    Desktop d;
    std::shared_ptr<DesktopRecord> r = m_record;
    d.message = [r](const QString& text) { r->messages.push_back(text); };
    d.openFile = [r](const QString& folder, const QString&, const QString&) -> std::optional<QString> {
        r->dialogFolders.push_back(folder);
        return r->chosenFile.isEmpty() ? std::nullopt : std::optional<QString>(r->chosenFile);
    };
    d.chooseFolder = [r](const QString&, const QString& folder) -> std::optional<QString> {
        r->dialogFolders.push_back(folder);
        QString chosen; // answered once
        chosen.swap(r->chosenFolder);
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen);
    };
    d.playSound = [r](const fs::path& file) { r->sounds.push_back(file); };
    d.openDocument = [r](const fs::path& file) {
        r->documents.push_back(file);
        return r->documentViewer;
    };
    d.endProcess = [r] { ++r->ends; };
    d.ask = [r](const QString& text) {
        r->questions.push_back(text);
        return r->answer;
    };
    d.progress = [r](const QString&, int done, int) { r->progressSteps.push_back(done); };
    return d;
}

std::unique_ptr<Program> GuiInstallation::program() {
    return std::make_unique<Program>(m_demo.programFolder, desktop(),
                                     fs::path(LIVRANO_BUILD_DIR) / "program");
}

std::unique_ptr<Program> GuiInstallation::started() {
    std::unique_ptr<Program> p = program();
    EXPECT_TRUE(p->Main());
    return p;
}

} // namespace livrano::testkit
