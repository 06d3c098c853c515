// SPDX-License-Identifier: MIT
#pragma once
// frm_Main, the program's one permanent window: the six choices of the repaint with a button
// beside each, the Wizard and Create buttons, the preview, the status line with its progress
// area, the version, Help and Close. Its controls carry the program's names, as object names
// and as members.

#include <QImage>

#include <array>

#include "screens/skinned_window.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QScrollBar;

namespace livrano {

class TinyButton;
class LargeButton;

class MainWindow : public SkinnedWindow {
public:
    MainWindow(std::filesystem::path programFolder, ButtonCommandDispatcher& dispatcher);

    // The load handler: version text, font-size fix, size, cursor, shape, background, control
    // colours, the ten buttons' settings and the current labels' colour. Fails at the first skin
    // file that cannot be read.
    Status load();

    // The empty state of the main window's own controls: five step buttons "Empty" then
    // "enabled", Create "disabled", the current labels but the aircraft's back to their
    // designer texts, the preview and the texture list cleared, then UpdateStatusLine.
    void ResetMainWindow();

    // The text of the first step whose button's picture is "empty" (any case); with none,
    // "Ready to Create Aircraft Repaint" and Create enabled. Repaints the status line at once.
    void UpdateStatusLine();

    // The status line's text, repainted at once, and its tooltip: the detail, what the text
    // leaves out (none clears it).
    void setStatusText(const QString& text, const QString& detail = {});
    // A refusal or failure on the status line: its message, its detail as the tooltip.
    void setStatusText(const Status& status);
    // The bar at a percentage of the progress area (never clamped), repainted at once.
    void setProgress(double percent);

    // The six step buttons and their labels, in wizard order.
    std::array<TinyButton*, 6> stepButtons() const;
    std::array<QLabel*, 6> currentLabels() const;

    QLabel* lbl_Version;
    QLabel* lbl_Status;
    QWidget* Pic_StatusBackground;
    QWidget* pic_StatusBar;
    QLabel* lbl_CurrentAircraft;
    QLabel* lbl_CurrentTemplate;
    QLabel* lbl_CurrentVariation;
    QLabel* lbl_CurrentFolder;
    QLabel* lbl_CurrentTailNumber;
    QLabel* lbl_CurrentCallsign;
    QComboBox* lst_Texture;
    // The preview at its full size (the drawing buffer); PreviewImage shows it fitted to its frame.
    QImage previewPicture;
    QLabel* PreviewImage;
    QScrollBar* Preview_Scroll;
    QRadioButton* opt_Standard;
    QRadioButton* opt_Alpha;
    QCheckBox* chkDXT3;
    TinyButton* btn_Close;
    TinyButton* btn_Help;
    TinyButton* btn_SelectAircraft;
    TinyButton* btn_SelectTemplate;
    TinyButton* btn_Variation;
    TinyButton* btn_Folder;
    TinyButton* btn_TailNumber;
    TinyButton* btn_Callsign;
    LargeButton* btn_Wizard;
    LargeButton* btn_CreateAircraft;
};

} // namespace livrano
