// SPDX-License-Identifier: MIT
#pragma once
// frm_Variation, frm_Folder and frm_TailNumber (steps 3 to 5): one line of text each, with
// information labels. What differs between the three is a table in the .cpp.

#include <functional>

#include "screens/wizard_screen.h"

class QLineEdit;

namespace livrano {

class EntryScreen : public WizardScreen {
public:
    // screen: Screen::Variation, Screen::Folder or Screen::TailNumber.
    EntryScreen(std::filesystem::path programFolder, Screen screen, ButtonCommandDispatcher& dispatcher);

    // The box's text at creation, which the openers also put in for an empty choice.
    QString placeholder() const;

    // Called with the box's whole text on every actual change, typed or set by the program.
    void setChangeHandler(std::function<void(const QString&)> handler) { m_changed = std::move(handler); }

    // The caret at 0 and as many characters selected as the trimmed text has.
    void selectTrimmedText();

    QLineEdit* txt_Entry;              // txt_Variation, txt_Folder or txt_TailNumber
    QLabel* lbl_Info;                  // lbl_CurrentManufacturer, lbl_Example or lbl_CurrentTailNumber
    QLabel* lbl_CurrentType = nullptr; // the variation screen only

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_changed;
    QString m_text; // the text the change handling last saw
};

} // namespace livrano
