// SPDX-License-Identifier: MIT
#include "screens/entry_screen.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace livrano {

namespace {

struct EntryLayout {
    const char* box;
    const char* placeholder;
    const char* info;     // the information label beside the first caption
    const char* infoText; // its caption at creation
    int firstRow;         // the first caption's top; the box's caption is 26 or 52 below
    const char* captions[3];
};

// By screen: variation, folder, tail number.
const EntryLayout kLayouts[] = {
    {"txt_Variation",
     "Enter Aircraft Variation",
     "lbl_CurrentManufacturer",
     "",
     157,
     {"Manufacturer:", "Type:", "Variation:"}},
    {"txt_Folder",
     "Enter Aircraft Folder Extension",
     "lbl_Example",
     "Texture.Aircraft Folder",
     174,
     {"Example:", "Folder Extension:", nullptr}},
    {"txt_TailNumber",
     "Enter Aircraft Tail Number",
     "lbl_CurrentTailNumber",
     "No Current Tail Number",
     174,
     {"Current Number:", "New Number:", nullptr}},
};

const EntryLayout& layoutOf(Screen screen) {
    return kLayouts[static_cast<std::size_t>(screen) - static_cast<std::size_t>(Screen::Variation)];
}

} // namespace

EntryScreen::EntryScreen(std::filesystem::path programFolder, Screen screen,
                         ButtonCommandDispatcher& dispatcher)
    : WizardScreen(std::move(programFolder), screen, dispatcher) {
    const EntryLayout& l = layoutOf(screen);
    const char* const captionNames[] = {screen == Screen::Variation ? "Label1" : "Label3",
                                        screen == Screen::Variation ? "Label3" : "Label5", "Label5"};
    int row = l.firstRow;
    for (int i = 0; i < 3 && l.captions[i] != nullptr; ++i, row += 26)
        addLabel(captionNames[i], QString::fromLatin1(l.captions[i]), {13, row, 119, 20}, 9.75, true);
    lbl_Info = addLabel(l.info, QString::fromLatin1(l.infoText), {137, l.firstRow, 257, 21});
    if (screen == Screen::Variation)
        lbl_CurrentType = addLabel("lbl_CurrentType", QString(), {137, l.firstRow + 26, 257, 21});
    txt_Entry = new QLineEdit(QString::fromLatin1(l.placeholder), this);
    txt_Entry->setObjectName(QString::fromLatin1(l.box));
    // The box sits two pixels above its caption.
    txt_Entry->setGeometry(137, row - 26 - 2, 257, 24);
    m_text = txt_Entry->text();
    connect(txt_Entry, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text == m_text)
            return;
        m_text = text;
        if (m_changed)
            m_changed(text);
    });
    txt_Entry->installEventFilter(this);
}

QString EntryScreen::placeholder() const {
    return QString::fromLatin1(layoutOf(screen()).placeholder);
}

void EntryScreen::selectTrimmedText() {
    txt_Entry->setSelection(0, static_cast<int>(txt_Entry->text().trimmed().size()));
}

bool EntryScreen::eventFilter(QObject* watched, QEvent* event) {
    // A click places the caret and selection the same way, after the box's own handling.
    if (watched == txt_Entry && event->type() == QEvent::MouseButtonRelease) {
        const bool handled = WizardScreen::eventFilter(watched, event);
        selectTrimmedText();
        return handled;
    }
    return WizardScreen::eventFilter(watched, event);
}

} // namespace livrano
