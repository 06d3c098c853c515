// SPDX-License-Identifier: MIT
#include "screens/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

#include <cmath>

#include "screens/core_text.h"
#include "screens/progress_bar.h"
#include "skin/image_button.h"

namespace livrano {

namespace {

// The layout's unit inside the progress area, as the progress geometry is given.
constexpr double kTwipsPerPixel = 15;

const char* const kEmpty = "Empty";
const char* const kEnabled = "enabled";
const char* const kDisabled = "disabled";

// What the status line asks for while a step's button still shows "Empty", in step order.
const char* const kNextStepTexts[] = {
    "Ready to Load Aircraft Specification",
    "Ready to Load Repaint Template",
    "Ready to Enter Aircraft Variation Information",
    "Ready to Designate Texture Folder",
    "Ready to Enter Tail Number",
    "Ready to Select Aircraft Callsign",
};

const char* const kDesignerChoiceTexts[] = {
    "No aircraft currently selected for repainting",
    "No repaint template currently selected",
    "No aircraft variation currently entered",
    "No folder extension currently entered",
    "No tail number currently entered",
    "No callsign currently selected",
};

template <typename Control> Control* placed(Control* control, const char* name, QRect at) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(at);
    return control;
}

} // namespace

MainWindow::MainWindow(std::filesystem::path programFolder, ButtonCommandDispatcher& dispatcher)
    : SkinnedWindow(std::move(programFolder), QStringLiteral("frm_Main"), QSize(800, 600), dispatcher) {
    setWindowTitle(QStringLiteral("Corvane's Livrano"));
    addLabel("Label13",
             "Select to start the aircraft repaint wizard or use the buttons below to set items manually.",
             {15, 85, 162, 45}, 8.25);
    const char* const captions[] = {
        "Aircraft:", "Template:", "Aircraft Variation:", "Texture Folder:", "Tail Number:", "Callsign:"};
    const char* const captionNames[] = {"Label3", "Label6", "Label8", "Label10", "Label12", "Label5"};
    const char* const currentNames[] = {"lbl_CurrentAircraft",   "lbl_CurrentTemplate",
                                        "lbl_CurrentVariation",  "lbl_CurrentFolder",
                                        "lbl_CurrentTailNumber", "lbl_CurrentCallsign"};
    QLabel** current[] = {&lbl_CurrentAircraft, &lbl_CurrentTemplate,   &lbl_CurrentVariation,
                          &lbl_CurrentFolder,   &lbl_CurrentTailNumber, &lbl_CurrentCallsign};
    for (int i = 0; i < 6; ++i) {
        const int top = 147 + 52 * i;
        // Label8 is two pixels narrower in the designed layout.
        addLabel(captionNames[i], QString::fromLatin1(captions[i]), {57, top, i == 2 ? 117 : 119, 20}, 9,
                 true);
        *current[i] =
            addLabel(currentNames[i], QString::fromLatin1(kDesignerChoiceTexts[i]), {57, top + 21, 290, 21});
    }
    addLabel("Label14", "Once all items above have been checked, press the Create Aircraft button to finish.",
             {15, 468, 162, 45}, 8.25);

    auto* area = placed(new QFrame(this), "Pic_StatusBackground", {15, 526, 333, 25});
    area->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    area->setLineWidth(1);
    area->setAutoFillBackground(true);
    setControlColours(*area, kLabelGrey, kListIvory);
    area->hide();
    Pic_StatusBackground = area;
    pic_StatusBar = placed(new QWidget(area), "pic_StatusBar", {2, 2, 159, 18});
    pic_StatusBar->setAutoFillBackground(true);
    setControlColours(*pic_StatusBar, kNavy, kNavy);
    addLabel("Label4", "Status:", {15, 556, 39, 16}, 8.25);
    lbl_Status = addLabel("lbl_Status", "Ready to Load Texture Template", {55, 556, 293, 32}, 8.25, true);

    PreviewImage = placed(new QLabel(this), "PreviewImage", {358, 74, 425, 425});
    PreviewImage->setAlignment(Qt::AlignCenter);
    PreviewImage->hide();
    Preview_Scroll = placed(new QScrollBar(Qt::Horizontal, this), "Preview_Scroll", {358, 501, 425, 18});
    Preview_Scroll->setRange(0, 0);
    Preview_Scroll->hide();
    chkDXT3 = placed(new QCheckBox(QStringLiteral("Create Plane in DXT3 Format"), this), "chkDXT3",
                     {359, 522, 197, 16});
    opt_Standard = placed(new QRadioButton(QStringLiteral("Preview Standard Texture"), this), "opt_Standard",
                          {358, 549, 179, 19});
    opt_Standard->setChecked(true);
    opt_Alpha = placed(new QRadioButton(QStringLiteral("Preview Alpha Channel"), this), "opt_Alpha",
                       {358, 569, 179, 19});
    addLabel("Label1", "Select Texture to View", {561, 547, 141, 15}, 8.25, true);
    lst_Texture = placed(new QComboBox(this), "lst_Texture", {561, 564, 224, 24});
    lst_Texture->setEnabled(false);
    lbl_Version = addLabel("lbl_Version", QString(), {751, 520, 31, 13}, 8.25);

    const auto tiny = [this](const char* name) {
        return placed(new TinyButton(this->programFolder(), this), name, {0, 0, 33, 35});
    };
    btn_Close = tiny("btn_Close");
    btn_Help = tiny("btn_Help");
    btn_SelectAircraft = tiny("btn_SelectAircraft");
    btn_SelectTemplate = tiny("btn_SelectTemplate");
    btn_Variation = tiny("btn_Variation");
    btn_Folder = tiny("btn_Folder");
    btn_TailNumber = tiny("btn_TailNumber");
    btn_Callsign = tiny("btn_Callsign");
    btn_Wizard = placed(new LargeButton(this->programFolder(), this), "btn_Wizard", {0, 0, 166, 50});
    btn_CreateAircraft =
        placed(new LargeButton(this->programFolder(), this), "btn_CreateAircraft", {0, 0, 166, 50});
}

Status MainWindow::load() {
    lbl_Version->setText(QStringLiteral("Livrano Version %1.%2.%3")
                             .arg(LIVRANO_VERSION_MAJOR)
                             .arg(LIVRANO_VERSION_MINOR)
                             .arg(LIVRANO_VERSION_PATCH));
    if (Status s = applySkin("MainRegion.dat", "Main_Background.bmp"); !s)
        return s;
    // The designed 31 pixels cannot hold the text: the label keeps its right edge and grows to
    // the left, on one line.
    const int versionWidth = lbl_Version->fontMetrics().horizontalAdvance(lbl_Version->text()) + 1;
    lbl_Version->setWordWrap(false);
    lbl_Version->setAlignment(Qt::AlignRight | Qt::AlignTop);
    lbl_Version->setGeometry(751 + 31 - versionWidth, 520, versionWidth, 13);
    styleControls(kLabelGrey);

    const ButtonSetting buttons[] = {
        {btn_Close, {756, 15}, "close", "Close", kEnabled, "Click to Exit from Livrano."},
        {btn_Help, {715, 15}, "help", "Help", kEnabled, "Click to access the Help document for Livrano."},
        {btn_SelectAircraft,
         {16, 149},
         "selectaircraft",
         kEmpty,
         kEnabled,
         "Click to modify the aircraft selection."},
        {btn_SelectTemplate,
         {16, 201},
         "selecttemplate",
         kEmpty,
         kDisabled,
         "Click to modify the repaint template."},
        {btn_Variation, {16, 253}, "variation", kEmpty, kDisabled, "Click to modify the aircraft variation."},
        {btn_Folder, {16, 305}, "folder", kEmpty, kDisabled, "Click to modify the aircraft texture folder."},
        {btn_TailNumber,
         {16, 357},
         "tailnumber",
         kEmpty,
         kDisabled,
         "Click to modify the aircraft tail number."},
        {btn_Callsign, {16, 409}, "callsign", kEmpty, kDisabled, "Click to modify the aircraft callsign."},
        {btn_Wizard, {185, 85}, "wizard", "Wizard", kEnabled, "Click to Start the Aircraft Repaint Wizard."},
        {btn_CreateAircraft,
         {185, 468},
         "create",
         "CreateAircraft",
         kDisabled,
         "Click to create an aircraft repaint using the settings above."},
    };
    for (const ButtonSetting& b : buttons)
        setUpButton(b);
    for (QLabel* label : currentLabels())
        setControlColours(*label, kNavy);
    return Status::Ok();
}

std::array<TinyButton*, 6> MainWindow::stepButtons() const {
    return {btn_SelectAircraft, btn_SelectTemplate, btn_Variation, btn_Folder, btn_TailNumber, btn_Callsign};
}

std::array<QLabel*, 6> MainWindow::currentLabels() const {
    return {lbl_CurrentAircraft, lbl_CurrentTemplate,   lbl_CurrentVariation,
            lbl_CurrentFolder,   lbl_CurrentTailNumber, lbl_CurrentCallsign};
}

void MainWindow::ResetMainWindow() {
    const auto steps = stepButtons();
    for (std::size_t i = 1; i < steps.size(); ++i)
        steps[i]->set_picture(QString::fromLatin1(kEmpty));
    for (std::size_t i = 1; i < steps.size(); ++i)
        steps[i]->set_state(QString::fromLatin1(kEnabled));
    btn_CreateAircraft->set_state(QString::fromLatin1(kDisabled));
    const auto labels = currentLabels();
    for (std::size_t i = 1; i < labels.size(); ++i)
        labels[i]->setText(QString::fromLatin1(kDesignerChoiceTexts[i]));
    previewPicture = QImage();
    PreviewImage->clear();
    PreviewImage->repaint();
    lst_Texture->clear();
    UpdateStatusLine();
}

void MainWindow::UpdateStatusLine() {
    const auto steps = stepButtons();
    QString text = QStringLiteral("Ready to Create Aircraft Repaint");
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i]->picture().toLower() == QLatin1String("empty")) {
            text = QString::fromLatin1(kNextStepTexts[i]);
            break;
        }
    }
    if (text == QLatin1String("Ready to Create Aircraft Repaint"))
        btn_CreateAircraft->set_state(QString::fromLatin1(kEnabled));
    setStatusText(text);
}

void MainWindow::setStatusText(const QString& text, const QString& detail) {
    lbl_Status->setText(text);
    lbl_Status->setToolTip(detail);
    lbl_Status->repaint();
}

void MainWindow::setStatusText(const Status& status) {
    setStatusText(fromMessage(status.message()), fromMessage(status.detail()));
}

void MainWindow::setProgress(double percent) {
    const QRect inner = static_cast<QFrame*>(Pic_StatusBackground)->contentsRect();
    const ProgressBarGeometry bar = progressBarGeometry(percent, inner.width() * kTwipsPerPixel);
    const auto pixels = [](double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); };
    // A negative width draws as nothing.
    pic_StatusBar->setGeometry(inner.left() + pixels(bar.left), inner.top() + pixels(bar.top),
                               std::max(0, pixels(bar.width)), pixels(bar.height));
    Pic_StatusBackground->repaint();
}

} // namespace livrano
