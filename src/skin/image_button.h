// SPDX-License-Identifier: MIT
#pragma once
// The program's clickable buttons: a fixed-size control showing one frame of a four-frame
// bitmap strip ("\Media\<picture>.bmp": enabled, highlight, down, disabled, top to bottom),
// whose black pixels are left undrawn so that the window shows through them. The look follows
// the mouse; a release hands the holding window's name and the button's command
// to the command dispatcher.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

#include "app/status.h"

class QLabel;

namespace livrano {

class SmartSubClass;
class cls_Tooltip;

// Runs the command of a released button. TinyButtons use the small-button table, LargeButtons
// the large-button table. A failed command returns an error; the button then takes its
// recovery look and nothing is shown.
class ButtonCommandDispatcher {
public:
    virtual ~ButtonCommandDispatcher() = default;
    virtual Status smallButton(const QString& formName, const QString& buttonType) = 0;
    virtual Status largeButton(const QString& formName, const QString& buttonType) = 0;
};

// Carries a meta-object so that windows can find their buttons with findChildren.
class ImageButton : public QWidget {
    Q_OBJECT

public:
    ~ImageButton() override;

    // The tip text; setting it makes a fresh tooltip for the button's picture surface.
    QString ToolTip() const { return m_ToolTip; }
    void set_ToolTip(const QString& text);
    // The strip's base name; setting it loads "\Media\" + name without surrounding blanks + ".bmp"
    // from the program folder. A strip that cannot be loaded leaves the previous image.
    QString picture() const { return m_picture; }
    void set_picture(const QString& name);
    QString HelpText() const { return m_HelpText; }
    void set_HelpText(const QString& text) { m_HelpText = text; }
    // "enabled", "highlight", "down" or "disabled" show their frame; any other text is stored and
    // shows no new frame. Exact, case-sensitive comparison.
    QString state() const { return m_state; }
    void set_state(const QString& value);
    // The window that holds the button (not owned); its objectName is handed to the dispatcher.
    QWidget* form_name() const { return m_form_name; }
    void set_form_name(QWidget* window) { m_form_name = window; }
    QString button_type() const { return m_button_type; }
    void set_button_type(const QString& type) { m_button_type = type; }
    // Not owned; must outlive the button or be replaced. Without one, a release runs nothing.
    void setDispatcher(ButtonCommandDispatcher* dispatcher) { m_dispatcher = dispatcher; }

    // Acts as a mouse press on the button.
    void click_event();
    // Ends the tooltip and the watching of the picture surface; called before the window goes.
    void end_sub_class();

    // The size of one frame, which is the control's size.
    QSize oneFrameSize() const { return m_frame; }
    // The tooltip object (null before a tip text is set or after end_sub_class).
    cls_Tooltip* tooltipObject() const { return m_tooltip.get(); }
    // The frame on show for a known state, or nullopt.
    static std::optional<int> frameIndex(const QString& state);

protected:
    ImageButton(QSize frame, std::filesystem::path programFolder, QWidget* parent);

    virtual Status dispatch(ButtonCommandDispatcher& dispatcher, const QString& formName,
                            const QString& buttonType) = 0;

    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void m_Sniff_NewMessage(QObject* object, QEvent*& event, bool& cancel);
    void mouseMoved();
    void pressed();
    void released();
    void recover();

    const QSize m_frame;
    const std::filesystem::path m_programFolder;
    QLabel* m_pic_BG; // child; holds the whole strip
    QString m_state;
    QString m_picture;
    QPointer<QWidget> m_form_name;
    QString m_button_type;
    QString m_HelpText;
    QString m_ToolTip;
    bool m_tracking = false; // waiting for the mouse to leave the picture surface
    Qt::MouseButtons m_pressedButtons;
    ButtonCommandDispatcher* m_dispatcher = nullptr;
    std::unique_ptr<cls_Tooltip> m_tooltip;
    std::unique_ptr<SmartSubClass> m_Sniff;
};

// 33 x 35 pixels; dispatched through the small-button table.
class TinyButton final : public ImageButton {
    Q_OBJECT

public:
    static constexpr QSize kFrameSize{33, 35};
    explicit TinyButton(std::filesystem::path programFolder, QWidget* parent = nullptr);

protected:
    Status dispatch(ButtonCommandDispatcher& dispatcher, const QString& formName,
                    const QString& buttonType) override;
};

// 166 x 50 pixels; dispatched through the large-button table.
class LargeButton final : public ImageButton {
    Q_OBJECT

public:
    static constexpr QSize kFrameSize{166, 50};
    explicit LargeButton(std::filesystem::path programFolder, QWidget* parent = nullptr);

protected:
    Status dispatch(ButtonCommandDispatcher& dispatcher, const QString& formName,
                    const QString& buttonType) override;
};

// Calls end_sub_class on every TinyButton and LargeButton inside window, in child order; other
// widgets are passed over. Run before a window goes at shutdown.
void EndButtonSubclassing(QWidget& window);

} // namespace livrano
