// SPDX-License-Identifier: MIT
#pragma once
// What the main window and the wizard screens share: a frameless window of fixed pixel size
// drawn from a background bitmap and cut to the outline saved in a region file, dragged by its
// own surface (not its controls) with the left button while it shows the drag cursor, and its controls
// coloured by kind. The window's object name is its program name (frm_Main, frm_SelectAircraft, ...).

#include <QColor>
#include <QCursor>
#include <QPixmap>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "app/status.h"

class QLabel;

namespace livrano {

class clsTransForm;
class ButtonCommandDispatcher;
class ImageButton;

inline const QColor kLabelGrey(96, 96, 96);
inline const QColor kOptionInk(48, 48, 48);
inline const QColor kNavy(0, 69, 140);
inline const QColor kListIvory(255, 254, 250);

class SkinnedWindow : public QWidget {
public:
    // The window's font is Tahoma 9.75 point; `size` is in pixels.
    SkinnedWindow(std::filesystem::path programFolder, const QString& name, QSize size,
                  ButtonCommandDispatcher& dispatcher);
    ~SkinnedWindow() override;

    const std::filesystem::path& programFolder() const { return m_programFolder; }
    ButtonCommandDispatcher& dispatcher() const { return m_dispatcher; }

    // The shaper; null once released.
    clsTransForm* shaper() const { return m_shaper.get(); }
    void releaseShaper();

    // The creation steps that read the skin, in the program's order: the font-size fix, the
    // designed size, the drag cursor "\Media\HMOVE.cur", the shape from "\Media\" + regionFile
    // (key black) and the background "\Media\" + backgroundFile. Fails, naming the file, at the
    // first file that cannot be read; the window is then not to be shown.
    Status applySkin(std::string_view regionFile, std::string_view backgroundFile);

    // Colours every control by its kind: labels grey and transparent, combo boxes grey, list
    // boxes in listText, option buttons and check boxes dark, all on ivory. Others unchanged.
    void styleControls(const QColor& listText);

    // One image button's settings, in this order: position, command, this window as its
    // form_name, picture, state, tooltip; releases go to this window's dispatcher.
    struct ButtonSetting {
        ImageButton* button;
        QPoint at;
        const char* type;
        const char* picture;
        const char* state;
        const char* tip;
    };
    void setUpButton(const ButtonSetting& setting);

    // A word-wrapping, top-aligned label at `at`; points 0 keeps the window's font.
    QLabel* addLabel(const char* name, const QString& text, QRect at, double points = 0, bool bold = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const std::filesystem::path m_programFolder;
    const QSize m_size;
    ButtonCommandDispatcher& m_dispatcher;
    std::unique_ptr<clsTransForm> m_shaper;
    QPixmap m_background;
    std::optional<QCursor> m_dragCursor;
    bool m_dragging = false; // the left button went down on the window's own surface
};

// Sets a widget's text colour (and, when given, its background) in every palette role a
// control draws its text or face with; disabled, the text is greyed half-way to the background
// (ivory when none is given).
void setControlColours(QWidget& control, const QColor& text, const std::optional<QColor>& background = {});

} // namespace livrano
