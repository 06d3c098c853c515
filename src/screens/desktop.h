// SPDX-License-Identifier: MIT
#pragma once
// The calls through which the windows reach beyond themselves: message boxes, the open-file
// dialog, the sound, the manual's viewer and the end of the process. Each is called at one
// place only, so tests can put their own in.

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

namespace livrano {

struct Desktop {
    // A message box with an OK button only, titled "Livrano"; returns when it is closed.
    std::function<void(const QString& text)> message;
    // An open-file dialog starting in startFolder with the one filter given as description and
    // pattern; the chosen file's full path, nullopt when cancelled.
    std::function<std::optional<QString>(const QString& startFolder, const QString& description,
                                         const QString& pattern)>
        openFile;
    // A folder dialog captioned `caption`, starting in startFolder and showing hidden folders; the
    // chosen folder, nullopt when cancelled.
    std::function<std::optional<QString>(const QString& caption, const QString& startFolder)> chooseFolder;
    // A question with Yes and No buttons, titled "Livrano"; true for Yes.
    std::function<bool(const QString& text)> ask;
    // Long work's progress in a window of its own: `label` says what is being done, `done` of
    // `total` steps are; the window closes once done reaches total.
    std::function<void(const QString& label, int done, int total)> progress;
    // Plays a sound file without waiting; a missing file plays nothing.
    std::function<void(const std::filesystem::path& wavFile)> playSound;
    // Hands a document to the program that opens it; false when there is none to hand it to (on
    // Linux, xdg-open is missing). What that program then does is not reported.
    std::function<bool(const std::filesystem::path& document)> openDocument;
    // Ends the process's event loop; the program returns from its main function.
    std::function<void()> endProcess;
};

// The real ones: QMessageBox, QFileDialog (files and folders), QProgressDialog, QSoundEffect,
// QDesktopServices, QCoreApplication::exit.
Desktop systemDesktop();

} // namespace livrano
