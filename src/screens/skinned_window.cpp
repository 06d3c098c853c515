// SPDX-License-Identifier: MIT
#include "screens/skinned_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include <string>

#include "app/code_page.h"
#include "app/file_names.h"
#include "skin/cursor_file.h"
#include "skin/design_font.h"
#include "skin/font_scaling.h"
#include "skin/image_button.h"
#include "skin/trans_form.h"

namespace livrano {

SkinnedWindow::SkinnedWindow(std::filesystem::path programFolder, const QString& name, QSize size,
                             ButtonCommandDispatcher& dispatcher)
    : m_programFolder(std::move(programFolder)), m_size(size), m_dispatcher(dispatcher),
      m_shaper(std::make_unique<clsTransForm>()) {
    setObjectName(name);
    setWindowFlags(Qt::FramelessWindowHint);
    QFont font(kDesignFontFamily);
    font.setPointSizeF(9.75);
    setFont(font);
    resize(size);
}

SkinnedWindow::~SkinnedWindow() = default;

void SkinnedWindow::releaseShaper() {
    m_shaper.reset();
}

Status SkinnedWindow::applySkin(std::string_view regionFile, std::string_view backgroundFile) {
    const auto media = [this](std::string_view file) {
        return resolveCaseless(programLocation(m_programFolder, "\\Media\\" + std::string(file)));
    };
    const auto missing = [](const std::filesystem::path& file) {
        return Status::Refused("The skin file " + utf8FromPath(file) + " cannot be read.");
    };
    SmallFontFix(*this);
    setFixedSize(m_size);
    const std::filesystem::path cursor = media("HMOVE.cur");
    m_dragCursor = loadCursorFile(QString::fromStdString(cursor.string()));
    if (!m_dragCursor)
        return missing(cursor);
    const std::filesystem::path region = media(regionFile);
    if (m_shaper->ShapeMe(*this, qRgb(0, 0, 0), true, QString::fromStdString(region.string())))
        return missing(region);
    const std::filesystem::path background = media(backgroundFile);
    if (!m_background.load(QString::fromStdString(background.string())))
        return missing(background);
    return Status::Ok();
}

void setControlColours(QWidget& control, const QColor& text, const std::optional<QColor>& background) {
    QPalette palette = control.palette();
    // A disabled control draws its text half-way to the surface under it, so that the user sees
    // why a click does nothing.
    const QColor under = background.value_or(kListIvory);
    const QColor greyed((text.red() + under.red()) / 2, (text.green() + under.green()) / 2,
                        (text.blue() + under.blue()) / 2);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, text);
        palette.setColor(QPalette::Inactive, role, text);
        palette.setColor(QPalette::Disabled, role, greyed);
    }
    if (background) {
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(role, *background);
    }
    control.setPalette(palette);
}

void SkinnedWindow::styleControls(const QColor& listText) {
    for (QWidget* control : findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(control) != nullptr && control->parent() == this)
            setControlColours(*control, kLabelGrey);
        else if (qobject_cast<QComboBox*>(control) != nullptr || qobject_cast<QGroupBox*>(control) != nullptr)
            setControlColours(*control, kLabelGrey, kListIvory);
        else if (qobject_cast<QListWidget*>(control) != nullptr)
            setControlColours(*control, listText, kListIvory);
        else if (qobject_cast<QRadioButton*>(control) != nullptr ||
                 qobject_cast<QCheckBox*>(control) != nullptr)
            setControlColours(*control, kOptionInk, kListIvory);
    }
}

void SkinnedWindow::setUpButton(const ButtonSetting& b) {
    b.button->move(b.at);
    b.button->set_button_type(QString::fromLatin1(b.type));
    b.button->set_form_name(this);
    b.button->set_picture(QString::fromLatin1(b.picture));
    b.button->set_state(QString::fromLatin1(b.state));
    b.button->set_ToolTip(QString::fromLatin1(b.tip));
    b.button->setDispatcher(&m_dispatcher);
}

QLabel* SkinnedWindow::addLabel(const char* name, const QString& text, QRect at, double points, bool bold) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QFont f = font();
    if (points > 0)
        f.setPointSizeF(points);
    f.setBold(bold);
    label->setFont(f);
    return label;
}

void SkinnedWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, m_background);
}

void SkinnedWindow::mousePressEvent(QMouseEvent* event) {
    // Labels and frames hand the presses they ignore on to the window; only the window's own
    // surface drags it.
    m_dragging = event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr;
    if (m_dragging && m_dragCursor)
        setCursor(*m_dragCursor);
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton) != 0 && m_shaper)
        m_shaper->DragForm(*this, 1);
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent*) {
    m_dragging = false;
    if (testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::BitmapCursor)
        unsetCursor();
}

} // namespace livrano
