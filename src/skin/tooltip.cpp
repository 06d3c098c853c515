// SPDX-License-Identifier: MIT
#include "skin/tooltip.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>
#include <QTextLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "skin/font_scaling.h"

namespace livrano {
namespace {

constexpr int kMargin = 3;        // text to border
constexpr int kCursorHeight = 20; // a tip below the cursor clears the arrow

int clampTime(int milliseconds) {
    return std::clamp(milliseconds, 0, cls_Tooltip::kMaxTime);
}

// The size of `text` laid out in lines of at most `width` pixels. A word wider than that (a long
// file name in a refusal) is broken where the line ends, as the label breaks it, so that the tip
// keeps its width instead of running off the screen.
QSize wrappedSize(const QFont& font, const QString& text, int width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal height = 0;
    qreal widest = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            height += line.height();
            widest = std::max(widest, line.naturalTextWidth());
        }
        layout.endLayout();
    }
    return QSize(std::min(width, static_cast<int>(std::ceil(widest))), static_cast<int>(std::ceil(height)));
}

} // namespace

cls_Tooltip::cls_Tooltip() {
    m_delayTimer.setSingleShot(true);
    m_visibleTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, [this] { showTip(); });
    connect(&m_visibleTimer, &QTimer::timeout, this, [this] { expire(); });
}

cls_Tooltip::~cls_Tooltip() {
    Destroy();
}

void cls_Tooltip::setForeColor(const QColor& color) {
    m_foreColor = color;
    applySettings();
}

void cls_Tooltip::setBackColor(const QColor& color) {
    m_backColor = color;
    applySettings();
}

void cls_Tooltip::setMaxWidth(int width) {
    m_maxWidth = width;
    applySettings();
}

void cls_Tooltip::setVisibleTime(int& milliseconds) {
    milliseconds = clampTime(milliseconds);
    m_visibleTime = milliseconds;
}

void cls_Tooltip::setDelayTime(int& milliseconds) {
    milliseconds = clampTime(milliseconds);
    m_delayTime = milliseconds;
}

int cls_Tooltip::fontPixelHeight(double pointSize, int pixelsPerInch) {
    // The point size goes in as a whole number (halves to even, as the conversion to a whole
    // number does by default); the product is rounded as MulDiv rounds it, halves away from zero.
    const double wholePoints = std::nearbyint(pointSize);
    return static_cast<int>(std::lround(wholePoints * pixelsPerInch / 72.0));
}

void cls_Tooltip::Font(const QFont* font) {
    if (font == nullptr) {
        return;
    }
    QFont tip = *font;
    if (font->pointSizeF() > 0) {
        tip.setPixelSize(std::max(1, fontPixelHeight(font->pointSizeF(), screenPixelsPerInch())));
    }
    m_font = tip;
    applySettings();
}

QFont cls_Tooltip::tipFont() const {
    return m_font ? *m_font : (m_window ? m_window->font() : QFont());
}

void cls_Tooltip::Create(QWidget* parent) {
    Destroy();
    // A tip window belongs to its parent's window: it goes when that window goes.
    m_window =
        new QLabel(parent != nullptr ? parent->window() : nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    m_window->setObjectName(QStringLiteral("tooltips_class32"));
    m_window->setTextFormat(Qt::PlainText);
    m_window->setWordWrap(true);
    m_window->setFrameShape(QFrame::Box);
    m_window->setLineWidth(1);
    m_window->setMargin(kMargin);
    applySettings();
}

void cls_Tooltip::Destroy() {
    hideTip();
    m_delayTimer.stop();
    for (const Tool& tool : m_tools) {
        if (tool.control) {
            tool.control->removeEventFilter(this);
        }
    }
    m_tools.clear();
    m_pending = nullptr;
    delete m_window.data();
    m_window = nullptr;
}

bool cls_Tooltip::AddControl(QWidget* control, const QString& caption, bool centre) {
    if (m_window == nullptr || control == nullptr) {
        return false;
    }
    m_tools.push_back(Tool{control, caption, centre});
    control->installEventFilter(this);
    return true;
}

void cls_Tooltip::applySettings() {
    if (m_window == nullptr) {
        return;
    }
    QPalette palette = m_window->palette();
    if (m_foreColor.isValid()) {
        palette.setColor(QPalette::WindowText, m_foreColor);
    }
    if (m_backColor.isValid()) {
        palette.setColor(QPalette::Window, m_backColor);
    }
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
    m_window->setMaximumWidth(std::max(1, m_maxWidth));
    if (m_font) {
        m_window->setFont(*m_font);
    }
}

const cls_Tooltip::Tool* cls_Tooltip::toolFor(const QObject* control) const {
    for (const Tool& tool : m_tools) {
        if (tool.control == control) {
            return &tool;
        }
    }
    return nullptr;
}

bool cls_Tooltip::eventFilter(QObject* watched, QEvent* event) {
    const Tool* tool = toolFor(watched);
    if (tool == nullptr) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (event->type() == QEvent::MouseMove &&
            static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) {
            break;
        }
        // The tip waits until the mouse has rested for the delay; a tip already up stays.
        if (m_shownFor != tool->control && m_expired != tool->control) {
            m_pending = tool->control;
            m_delayTimer.start(m_delayTime);
        }
        break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Hide:
        m_delayTimer.stop();
        m_pending = nullptr;
        if (event->type() == QEvent::Leave) {
            m_expired = nullptr;
        }
        hideTip();
        break;
    default:
        break;
    }
    return false;
}

void cls_Tooltip::showTip() {
    const Tool* tool = toolFor(m_pending);
    // A tool without text has nothing to say: no empty box comes up.
    if (m_window == nullptr || tool == nullptr || !tool->control || tool->caption.isEmpty()) {
        return;
    }
    QWidget* control = tool->control;
    m_window->setText(tool->caption);
    // Lines wrap at the widest allowed width, as the text's own layout says.
    const int frame = 2 * (kMargin + m_window->frameWidth());
    const QSize text = wrappedSize(m_window->font(), tool->caption, std::max(1, m_maxWidth - frame));
    m_window->resize(text.width() + frame, text.height() + frame);
    QPoint at;
    if (tool->centre) {
        const QPoint below = control->mapToGlobal(QPoint(control->width() / 2, control->height()));
        at = QPoint(below.x() - m_window->width() / 2, below.y());
    } else {
        at = QCursor::pos() + QPoint(0, kCursorHeight);
    }
    if (const QScreen* screen = control->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - m_window->width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - m_window->height())));
    }
    m_window->move(at);
    m_window->show();
    m_shownFor = control;
    m_visibleTimer.start(m_visibleTime);
}

void cls_Tooltip::expire() {
    m_expired = m_shownFor;
    hideTip();
}

void cls_Tooltip::hideTip() {
    m_visibleTimer.stop();
    if (m_window) {
        m_window->hide();
    }
    m_shownFor = nullptr;
}

} // namespace livrano
