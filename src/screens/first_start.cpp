// SPDX-License-Identifier: MIT
#include "screens/first_start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/program_folder.h"
#include "output/program_setup.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// Where a simulator under Wine or Proton usually is, in the home folder: a Wine prefix's drive_c,
// or the prefixes Steam keeps for its games.
const char* const kSimulatorPlaces[] = {".wine/drive_c", ".steam/steam/steamapps/compatdata",
                                        ".local/share/Steam/steamapps/compatdata"};

QString firstDialogFolder() {
    const QDir home = QDir::home();
    for (const char* place : kSimulatorPlaces) {
        if (QFileInfo(home.filePath(QString::fromLatin1(place))).isDir())
            return home.filePath(QString::fromLatin1(place));
    }
    return home.path();
}

} // namespace

std::optional<fs::path> setUpOnFirstStart(const fs::path& executable, const Desktop& desktop) {
    const std::optional<fs::path> shared = findSharedFiles(executable);
    if (!shared) {
        desktop.message(QStringLiteral(
            "Livrano's installed files (share/livrano) are missing. Please reinstall Livrano."));
        return std::nullopt;
    }
    desktop.message(QStringLiteral(
        "Livrano keeps its program folder inside your simulator. Choose the simulator's folder, the one that holds its Aircraft folder (under Wine or Proton, inside the prefix's drive_c).\n\nThe same can be done with: livrano-cli setup SIMULATOR_FOLDER"));
    // A wrong folder is asked again, from where the painter left off (often a level or two
    // above the simulator), until a setup succeeds or the dialog is cancelled.
    QString start = firstDialogFolder();
    for (;;) {
        const std::optional<QString> chosen =
            desktop.chooseFolder(QStringLiteral("The simulator's folder"), start);
        if (!chosen)
            return std::nullopt;
        ProgramSetup setup;
        const Status s = setUpProgramFolder(*shared, QFile::encodeName(*chosen).toStdString(), false, setup);
        if (s)
            return setup.programFolder;
        desktop.message(QString::fromStdString(s.text()));
        start = *chosen;
    }
}

} // namespace livrano
