// SPDX-License-Identifier: MIT
#include "screens/qt_frontend.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include "screens/core_text.h"
#include "screens/main_window.h"
#include "screens/program.h"
#include "screens/wizard.h"
#include "skin/image_button.h"

namespace livrano {

void QtFrontend::setStatus(const std::string& text, const std::string& detail) {
    m_program.mainWindow()->setStatusText(fromMessage(text), fromMessage(detail));
}

void QtFrontend::showProgressArea() {
    m_program.mainWindow()->Pic_StatusBackground->show();
    m_program.mainWindow()->Pic_StatusBackground->repaint();
}

void QtFrontend::hideProgressArea() {
    m_program.mainWindow()->Pic_StatusBackground->hide();
    m_program.mainWindow()->repaint();
}

void QtFrontend::setProgress(double percent) {
    m_program.mainWindow()->setProgress(percent);
}

void QtFrontend::setTextureList(const std::vector<std::string>& lines) {
    QComboBox* list = m_program.mainWindow()->lst_Texture;
    list->clear();
    // The core's own bytes ride along, so that a name reads back exactly as its configuration has it.
    for (const std::string& line : lines)
        list->addItem(fromCore(line), QByteArray::fromStdString(line));
    list->setCurrentIndex(0);
}

void QtFrontend::showEmptyChoices() {
    m_program.wizard().resetScreens();
    m_program.mainWindow()->ResetMainWindow();
}

void QtFrontend::showTailNumber(const std::string& tailNumber) {
    MainWindow* main = m_program.mainWindow();
    main->lbl_CurrentTailNumber->setText(fromCore(tailNumber));
    if (!tailNumber.empty())
        main->btn_TailNumber->set_picture(QStringLiteral("Check"));
}

void QtFrontend::showPreview(const PreviewPicture& picture) {
    MainWindow* main = m_program.mainWindow();
    const QImage image(picture.rgb.data(), picture.width, picture.height,
                       static_cast<qsizetype>(picture.width) * 3, QImage::Format_RGB888);
    main->previewPicture = image.copy();
    // The whole square or texture, as large as the frame allows.
    main->PreviewImage->setPixmap(QPixmap::fromImage(main->previewPicture.scaled(
        main->PreviewImage->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    main->PreviewImage->repaint();
}

void QtFrontend::setAlphaPreviewAvailable(bool available) {
    MainWindow* main = m_program.mainWindow();
    if (!available)
        main->opt_Standard->setChecked(true);
    main->opt_Alpha->setEnabled(available);
    main->opt_Standard->setEnabled(true);
}

void QtFrontend::templateLoaded() {
    MainWindow* main = m_program.mainWindow();
    main->PreviewImage->show();
    main->Preview_Scroll->show();
    main->lst_Texture->setEnabled(true);
    m_program.redrawPreview();
}

void QtFrontend::refreshStatusLine() {
    m_program.mainWindow()->UpdateStatusLine();
}

void QtFrontend::setBusy(bool busy) {
    MainWindow* main = m_program.mainWindow();
    if (busy)
        main->setCursor(Qt::WaitCursor);
    else
        main->unsetCursor();
    main->repaint();
}

void QtFrontend::showMessage(const std::string& text) {
    m_program.desktop().message(fromMessage(text));
}

void QtFrontend::playSound(const std::filesystem::path& wavFile) {
    m_program.desktop().playSound(wavFile);
}

} // namespace livrano
