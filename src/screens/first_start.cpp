// SPDX-License-Identifier: MIT
#include "screens/first_start.h"

#include <QDir>
#include <QFile>

#include "app/program_folder.h"
#include "output/program_setup.h"

namespace livrano {

namespace fs = std::filesystem;

std::optional<fs::path> setUpOnFirstStart(const fs::path& executable, const Desktop& desktop) {
    const std::optional<fs::path> shared = findSharedFiles(executable);
    if (!shared) {
        desktop.message(QStringLiteral(
            "Livrano's installed files (share/livrano) are missing. Please reinstall Livrano."));
        return std::nullopt;
    }
    desktop.message(QStringLiteral(
        "Livrano keeps its program folder inside your simulator. Choose the simulator's folder, the one that holds its Aircraft folder (under Wine or Proton, inside the prefix's drive_c).\n\nThe same can be done with: livrano-cli setup SIMULATOR_FOLDER"));
    const std::optional<QString> chosen =
        desktop.chooseFolder(QStringLiteral("The simulator's folder"), QDir::homePath());
    if (!chosen)
        return std::nullopt;
    ProgramSetup setup;
    if (Status s = setUpProgramFolder(*shared, QFile::encodeName(*chosen).toStdString(), false, setup); !s) {
        desktop.message(QString::fromStdString(s.text()));
        return std::nullopt;
    }
    return setup.programFolder;
}

} // namespace livrano
