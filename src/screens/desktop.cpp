// SPDX-License-Identifier: MIT
#include "screens/desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSoundEffect>
#include <QUrl>

#include <memory>

namespace livrano {

Desktop systemDesktop() {
    Desktop d;
    d.message = [](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Livrano"), text, QMessageBox::Ok);
        box.exec();
    };
    d.openFile = [](const QString& startFolder, const QString& description,
                    const QString& pattern) -> std::optional<QString> {
        // Qt's filter syntax puts the pattern in parentheses after the description.
        const QString path = QFileDialog::getOpenFileName(
            nullptr, QString(), startFolder, description + QLatin1Char('(') + pattern + QLatin1Char(')'));
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    };
    d.chooseFolder = [](const QString& caption, const QString& startFolder) -> std::optional<QString> {
        QFileDialog dialog(nullptr, caption, startFolder);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        // Simulators under Wine or Proton live in hidden folders (~/.wine, ~/.steam, ~/.local).
        dialog.setFilter(dialog.filter() | QDir::Hidden);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    };
    d.ask = [](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Livrano"), text,
                        QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    };
    auto dialog = std::make_shared<std::unique_ptr<QProgressDialog>>();
    d.progress = [dialog](const QString& label, int done, int total) {
        if (done >= total) {
            dialog->reset();
            return;
        }
        if (!*dialog) {
            // No Cancel button: a kit half-way is finished, and the next one is quick to skip later.
            *dialog = std::make_unique<QProgressDialog>(label, QString(), 0, total);
            (*dialog)->setWindowTitle(QStringLiteral("Livrano"));
            (*dialog)->setMinimumDuration(0);
        }
        (*dialog)->setLabelText(label);
        (*dialog)->setMaximum(total);
        (*dialog)->setValue(done);
        QCoreApplication::processEvents();
    };
    // One effect for the whole run: a new one per confirmation would cut the last one short.
    auto effect = std::make_shared<std::unique_ptr<QSoundEffect>>();
    d.playSound = [effect](const std::filesystem::path& wavFile) {
        if (!*effect)
            *effect = std::make_unique<QSoundEffect>();
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(wavFile.string()));
        if ((*effect)->source() != url)
            (*effect)->setSource(url);
        (*effect)->play();
    };
    d.openDocument = [](const std::filesystem::path& document) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(document.string()));
        // On Linux Qt starts xdg-open (or a desktop's own launcher) and says false when it finds
        // none. Windows opens the file through the shell, whose answer the program never heeded.
#ifdef Q_OS_WIN
        QDesktopServices::openUrl(url);
        return true;
#else
        return QDesktopServices::openUrl(url);
#endif
    };
    d.endProcess = [] { QCoreApplication::exit(0); };
    return d;
}

} // namespace livrano
