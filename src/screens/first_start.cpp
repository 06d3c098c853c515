// SPDX-License-Identifier: MIT
#include "screens/first_start.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "app/program_folder.h"
#include "output/program_setup.h"

namespace livrano {

namespace fs = std::filesystem;

std::optional<fs::path> setUpOnFirstStart(const fs::path& executable) {
    const QString title = QStringLiteral("Livrano");
    const std::optional<fs::path> shared = findSharedFiles(executable);
    if (!shared) {
        QMessageBox::critical(nullptr, title,
                              QStringLiteral("Livrano's installed files (share/livrano) are missing. Please "
                                             "reinstall Livrano."));
        return std::nullopt;
    }
    QMessageBox::information(
        nullptr, title,
        QStringLiteral(
            "Livrano keeps its program folder inside your simulator. Choose the simulator's "
            "folder, the one that holds its Aircraft folder (under Wine or Proton, inside the "
            "prefix's drive_c).\n\nThe same can be done with: livrano-cli setup SIMULATOR_FOLDER"));
    const QString chosen = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("The simulator's folder"), QDir::homePath());
    if (chosen.isEmpty())
        return std::nullopt;
    ProgramSetup setup;
    if (Status s = setUpProgramFolder(*shared, QFile::encodeName(chosen).toStdString(), false, setup); !s) {
        QMessageBox::critical(nullptr, title, QString::fromStdString(s.text()));
        return std::nullopt;
    }
    return setup.programFolder;
}

} // namespace livrano
