// SPDX-License-Identifier: MIT
#pragma once
// Gives a frameless window the outline of its picture: every pixel of a key colour is cut away.
// The shape is computed from the pixels once, saved as a region data file (region_data.h), and
// loaded from that file by the windows at start-up. Also lets the user drag such a window by
// any point of its surface.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <optional>

class QImage;
class QWidget;

namespace livrano {

// A numbered error as the shaper reports it to its caller.
struct TransFormError {
    std::uint32_t number = 0;
    QString source;
    QString description;
};

// The object-defined error base plus 2514 and 2513, as the region saving reports them.
inline constexpr std::uint32_t kErrRegionSize = 0x800409D2u;
inline constexpr std::uint32_t kErrRegionData = 0x800409D1u;
// The file errors of the runtime: a file that cannot be opened, read or written; a region file
// whose bytes are not a region.
inline constexpr std::uint32_t kErrFileNotFound = 53;
inline constexpr std::uint32_t kErrPathFileAccess = 75;
inline constexpr std::uint32_t kErrBadFileFormat = 321;

class clsTransForm : public QObject {
public:
    clsTransForm() = default;

    // Shapes the top-level `window` (other widgets are left alone). With FileName empty or
    // Load false the region is computed from the window's picture (its own painting, without
    // child widgets) with `color` as the key; when FileName is given and Load is false the region
    // is also saved there. With FileName given and Load true the region is read from the file and
    // no pixel is read. The region becomes the window's mask (an empty region hides the whole
    // window); on an error the mask is unchanged.
    std::optional<TransFormError> ShapeMe(QWidget& window, QRgb color, bool Load = false,
                                          const QString& FileName = QString());

    // `button` Qt::LeftButton (1) only: lets the window system move the window of `widget` with the
    // mouse until the button is released; where the platform cannot, the window follows the
    // mouse itself. When the move ends, a custom (bitmap) cursor on the window goes back to
    // the default. Other buttons do nothing. Never fails.
    void DragForm(QWidget& widget, int button);

    // The region last built or loaded by ShapeMe.
    const QRegion& region() const { return m_region; }

    // The window rectangle (0, 0, width, height) less every horizontal run of key pixels.
    static QRegion regionFromPicture(const QImage& picture, QRgb key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<TransFormError> SaveRegionDataToFile(const QString& fileName) const;
    std::optional<TransFormError> loadRegionFromFile(const QString& fileName);
    void endMove();

    QRegion m_region;
    QPointer<QWidget> m_moving; // the window being dragged
    bool m_followMouse = false; // the platform could not move it: we do
    QPoint m_grabOffset;        // cursor position less window position at the start
};

} // namespace livrano
