// SPDX-License-Identifier: MIT
#include "skin/image_button.h"

#include <QBitmap>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QResizeEvent>

#include "app/file_names.h"
#include "app/text.h"
#include "skin/smart_sub_class.h"
#include "skin/tooltip.h"

namespace livrano {
namespace {

const QString kEnabled = QStringLiteral("enabled");
const QString kHighlight = QStringLiteral("highlight");
const QString kDown = QStringLiteral("down");
const QString kDisabled = QStringLiteral("disabled");

} // namespace

ImageButton::ImageButton(QSize frame, std::filesystem::path programFolder, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_programFolder(std::move(programFolder)), m_pic_BG(new QLabel(this)) {
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSizeF(8.25);
    setFont(tahoma);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(m_frame);
    m_pic_BG->setObjectName(QStringLiteral("pic_BG"));
    m_pic_BG->setMouseTracking(true);
    m_pic_BG->setGeometry(QRect(QPoint(0, 0), m_frame));
    m_pic_BG->installEventFilter(this);
    m_Sniff = std::make_unique<SmartSubClass>(
        [this](QObject* object, QEvent*& event, bool& cancel) { m_Sniff_NewMessage(object, event, cancel); });
    m_Sniff->SubClassHwnd(m_pic_BG, true);
}

ImageButton::~ImageButton() {
    // The picture surface outlives this part of the object; it must stop reporting to it.
    m_pic_BG->removeEventFilter(this);
    m_Sniff.reset();
}

std::optional<int> ImageButton::frameIndex(const QString& state) {
    if (state == kEnabled) {
        return 0;
    }
    if (state == kHighlight) {
        return 1;
    }
    if (state == kDown) {
        return 2;
    }
    if (state == kDisabled) {
        return 3;
    }
    return std::nullopt;
}

void ImageButton::set_state(const QString& value) {
    m_state = value;
    if (const std::optional<int> frame = frameIndex(value)) {
        m_pic_BG->move(0, -*frame * m_frame.height());
    }
}

void ImageButton::set_picture(const QString& name) {
    m_picture = name;
    const std::string file = "\\Media\\" + trim(name.toStdString()) + ".bmp";
    const std::filesystem::path path = resolveCaseless(programLocation(m_programFolder, file));
    QPixmap strip;
    if (strip.load(QString::fromStdU16String(path.u16string()))) {
        // Black is left undrawn, as it is cut from the windows: a strip drawn on it shows the
        // window's own surface around the button, whatever that surface is.
        strip.setMask(strip.createMaskFromColor(QColor(0, 0, 0), Qt::MaskInColor));
        m_pic_BG->setPixmap(strip);
        m_pic_BG->resize(strip.size());
    }
}

void ImageButton::set_ToolTip(const QString& text) {
    m_tooltip.reset();
    m_ToolTip = text;
    m_tooltip = std::make_unique<cls_Tooltip>();
    m_tooltip->Create(this);
    m_tooltip->setForeColor(QColor(45, 45, 45));
    m_tooltip->setBackColor(QColor(231, 231, 231));
    m_tooltip->setMaxWidth(400);
    int visible = 10000;
    m_tooltip->setVisibleTime(visible);
    int delay = 250;
    m_tooltip->setDelayTime(delay);
    m_tooltip->AddControl(m_pic_BG, text, false);
    const QFont buttonFont = font();
    m_tooltip->Font(&buttonFont);
}

void ImageButton::click_event() {
    pressed();
}

void ImageButton::end_sub_class() {
    m_tooltip.reset();
    if (m_Sniff) {
        m_Sniff->SubClassHwnd(m_pic_BG, false);
        m_Sniff.reset();
    }
}

void ImageButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The control is always exactly one frame; a forced resize starts again at the first frame.
    if (event->size() != m_frame) {
        resize(m_frame);
        m_pic_BG->move(0, 0);
    }
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_pic_BG) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        mouseMoved();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_pressedButtons |= static_cast<QMouseEvent*>(event)->button();
        pressed();
        return true;
    case QEvent::MouseButtonRelease: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (m_pressedButtons & button) {
            m_pressedButtons &= ~Qt::MouseButtons(button);
            released();
        }
        return true;
    }
    default:
        return false;
    }
}

void ImageButton::m_Sniff_NewMessage(QObject*, QEvent*& event, bool&) {
    if (event->type() == QEvent::Leave) {
        m_tracking = false;
        if (m_state != kDisabled) {
            set_state(kEnabled);
        }
    }
}

void ImageButton::mouseMoved() {
    if (m_tracking) {
        return;
    }
    m_tracking = true;
    if (m_state != kDisabled) {
        set_state(kHighlight);
    }
}

void ImageButton::pressed() {
    if (m_state != kDisabled) {
        set_state(kDown);
    }
}

void ImageButton::released() {
    if (m_state == kDisabled) {
        return;
    }
    set_state(kHighlight);
    const QString type = m_button_type;
    if (!m_form_name || m_dispatcher == nullptr) {
        recover();
        return;
    }
    // The command may close or destroy the window that holds this button.
    const QPointer<ImageButton> self(this);
    const Status status = dispatch(*m_dispatcher, m_form_name->objectName(), type);
    if (self && !status.ok()) {
        recover();
    }
}

void ImageButton::recover() {
    m_tracking = false;
    if (m_state != kDisabled) {
        set_state(kHighlight);
    }
}

TinyButton::TinyButton(std::filesystem::path programFolder, QWidget* parent)
    : ImageButton(kFrameSize, std::move(programFolder), parent) {}

Status TinyButton::dispatch(ButtonCommandDispatcher& dispatcher, const QString& formName,
                            const QString& buttonType) {
    return dispatcher.smallButton(formName, buttonType);
}

LargeButton::LargeButton(std::filesystem::path programFolder, QWidget* parent)
    : ImageButton(kFrameSize, std::move(programFolder), parent) {}

Status LargeButton::dispatch(ButtonCommandDispatcher& dispatcher, const QString& formName,
                             const QString& buttonType) {
    return dispatcher.largeButton(formName, buttonType);
}

void EndButtonSubclassing(QWidget& window) {
    for (ImageButton* button : window.findChildren<ImageButton*>()) {
        button->end_sub_class();
    }
}

} // namespace livrano
