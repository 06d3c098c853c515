// SPDX-License-Identifier: MIT
#pragma once
// A help tip for skinned controls, in the program's own colours, wrap width, timing and font.
// One instance serves any number of controls; it watches their mouse events by itself.

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>
#include <vector>

class QLabel;
class QWidget;

namespace livrano {

class cls_Tooltip : public QObject {
public:
    // Longest display and initial delay accepted, in milliseconds.
    static constexpr int kMaxTime = 32767;

    cls_Tooltip();
    ~cls_Tooltip() override; // Destroy
    cls_Tooltip(const cls_Tooltip&) = delete;
    cls_Tooltip& operator=(const cls_Tooltip&) = delete;

    // Colours, width and times set before Create take effect when the tip window is made. An
    // invalid colour (the initial value) leaves the platform's tooltip colour.
    QColor ForeColor() const { return m_foreColor; }
    void setForeColor(const QColor& color);
    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor& color);
    // Width in pixels beyond which the text wraps; 300 at first.
    int MaxWidth() const { return m_maxWidth; }
    void setMaxWidth(int width);
    // How long a tip stays up, and how long the mouse must rest before it shows. The setters clamp
    // to 0 ... kMaxTime and hand the clamped value back through the argument.
    int VisibleTime() const { return m_visibleTime; }
    void setVisibleTime(int& milliseconds);
    int DelayTime() const { return m_delayTime; }
    void setDelayTime(int& milliseconds);
    // Takes face, weight, italic, underline and strike-out from font; null changes nothing. The
    // text height in pixels is the font's height at the screen's pixels per inch.
    void Font(const QFont* font);
    QFont tipFont() const;

    // Makes the tip window for parent's window; a previous one is destroyed first.
    void Create(QWidget* parent);
    void Destroy();
    // Shows caption (unless empty) while the mouse rests on control: below the cursor, or centred below the
    // control when centre is true. Needs Create first; false without a tip window.
    bool AddControl(QWidget* control, const QString& caption, bool centre = false);

    // The tip window (null before Create) and the control whose tip it shows now (null if none).
    QLabel* tipWindow() const { return m_window; }
    QWidget* shownFor() const { return m_window != nullptr && m_shownFor ? m_shownFor.data() : nullptr; }

    // The text height in pixels of a font of pointSize at pixelsPerInch: the point size rounded
    // to a whole number first (halves to even), then scaled and rounded (8.25 points at 96 give 11,
    // 6.6 points at 120 give 12).
    static int fontPixelHeight(double pointSize, int pixelsPerInch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool {
        QPointer<QWidget> control;
        QString caption;
        bool centre = false;
    };

    void applySettings();
    void showTip();
    void hideTip();
    void expire();
    const Tool* toolFor(const QObject* control) const;

    QPointer<QLabel> m_window;
    std::optional<QFont> m_font;
    QColor m_foreColor;
    QColor m_backColor;
    int m_maxWidth = 300;
    int m_visibleTime = 5000;
    int m_delayTime = 500;
    std::vector<Tool> m_tools;
    QPointer<QWidget> m_pending;  // the control the mouse rests on
    QPointer<QWidget> m_shownFor; // the control whose tip is up
    QPointer<QWidget> m_expired;  // its tip timed out: no new one until the mouse leaves it
    QTimer m_delayTimer;
    QTimer m_visibleTimer;
};

} // namespace livrano
