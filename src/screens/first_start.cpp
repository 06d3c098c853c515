// SPDX-License-Identifier: MIT
#include "screens/first_start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/program_folder.h"
#include "output/paint_kit.h"
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

void offerKits(const fs::path& programFolder, const Desktop& desktop) {
    const std::vector<fs::path> folders = aircraftWithoutConfiguration(programFolder);
    if (folders.empty())
        return;
    const QString count = folders.size() == 1 ? QStringLiteral("1 aircraft")
                                              : QStringLiteral("%1 aircraft").arg(folders.size());
    if (!desktop.ask(
            QStringLiteral("The simulator holds %1 without a Livrano configuration. Make a paint kit for "
                           "each now? A kit's template holds the aircraft's own paint; the kits are "
                           "listed with the other aircraft.\n\nThe same can be done later with: "
                           "livrano-cli kit --all")
                .arg(count)))
        return;
    int made = 0;
    QString notMade;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const QString name = QFile::decodeName(folders[i].filename().c_str());
        desktop.progress(QStringLiteral("Making a paint kit for %1").arg(name), int(i), int(folders.size()));
        KitRequest request;
        request.programFolder = programFolder;
        request.aircraftFolder = folders[i];
        KitPlan plan;
        if (const Status s = makeKit(request, false, plan); s)
            ++made;
        else
            notMade += QStringLiteral("\n%1: %2").arg(name, QString::fromStdString(s.message()));
    }
    desktop.progress(QString(), int(folders.size()), int(folders.size()));
    QString text = QStringLiteral("Made %1 of %2 paint kits.").arg(made).arg(folders.size());
    if (!notMade.isEmpty())
        text += QStringLiteral(" Not made:") + notMade;
    desktop.message(text);
}

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
        if (s) {
            offerKits(setup.programFolder, desktop);
            return setup.programFolder;
        }
        desktop.message(QString::fromStdString(s.text()));
        start = *chosen;
    }
}

} // namespace livrano
