// livrano-skin-shots: photographs the skinned windows on a real X display, for the README.
//
//   xvfb-run -a -s "-screen 0 1040x720x24" livrano-skin-shots PROGRAM_FOLDER OUT_FOLDER
//
// Shows a backdrop and, in front of it, the shaped main window with all eight button strips in
// one look at a time (main-<look>.png), then a shaped wizard screen (wizard.png). The shots are
// taken from the screen itself, so the cut-away outline shows the backdrop behind it.

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "skin/cursor_file.h"
#include "skin/design_font.h"
#include "skin/image_button.h"
#include "skin/trans_form.h"

namespace {

using namespace livrano;

constexpr QPoint kWindowAt(120, 60);
constexpr int kMargin = 24; // backdrop around the window in each shot

void settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

class Backdrop : public QWidget {
public:
    Backdrop() { setWindowFlags(Qt::FramelessWindowHint); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QLinearGradient sky(0, 0, width(), height());
        sky.setColorAt(0, QColor(120, 150, 180));
        sky.setColorAt(1, QColor(58, 76, 98));
        painter.fillRect(rect(), sky);
    }
};

// A frameless window whose picture is a background bitmap and whose shape is its region file.
class SkinnedWindow : public QWidget {
public:
    SkinnedWindow(const QString& media, const QString& background, const QString& region,
                  const QString& name) {
        setObjectName(name);
        setWindowFlags(Qt::FramelessWindowHint);
        m_background.load(media + background);
        resize(m_background.size());
        QFont font(kDesignFontFamily);
        font.setPointSizeF(9.75);
        setFont(font);
        if (const auto cursor = loadCursorFile(media + QStringLiteral("HMOVE.cur"))) {
            setCursor(*cursor);
        }
        if (const auto error = m_shaper.ShapeMe(*this, qRgb(0, 0, 0), true, media + region)) {
            std::fprintf(stderr, "livrano-skin-shots: %s\n", qPrintable(error->description));
        }
    }

    QLabel* label(const QString& text, QRect at, double points, bool bold, QColor colour) {
        // The Wine Tahoma sets its small sizes with no leading at all; wrapped lines get the
        // room the face has on Windows.
        auto* label = new QLabel(
            text.isEmpty()
                ? text
                : QStringLiteral("<div style=\"line-height:118%\">%1</div>").arg(text.toHtmlEscaped()),
            this);
        label->setGeometry(at);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop); // as the designer's labels
        QFont font = this->font();
        font.setPointSizeF(points);
        font.setBold(bold);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
        return label;
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, m_background); }

private:
    QPixmap m_background;
    clsTransForm m_shaper;
};

template <typename Button>
Button* button(SkinnedWindow& window, const std::filesystem::path& folder, QPoint at, const char* picture,
               const char* tip) {
    auto* b = new Button(folder, &window);
    b->move(at);
    b->set_form_name(&window);
    b->set_picture(QString::fromLatin1(picture));
    b->set_ToolTip(QString::fromLatin1(tip));
    return b;
}

const QColor kGrey(96, 96, 96);
const QColor kNavy(0, 69, 140);
const QColor kInk(48, 48, 48);
const QColor kIvory(255, 254, 250);

// Colours a control as the main window styles its kind: text colour on the lists' ivory.
template <typename Control> Control* styled(Control* control, QRect at, QColor text) {
    control->setGeometry(at);
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Window, kIvory);
    palette.setColor(QPalette::Base, kIvory);
    control->setPalette(palette);
    return control;
}

// A template's fuselage texture as the preview shows it: white body, navy cheatline under the
// windows, an amber stripe and a tail in the airline's colours.
class TexturePreview : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double w = width();
        const double h = height();
        QPainterPath body;
        body.moveTo(0.04 * w, 0.55 * h);
        body.cubicTo(0.06 * w, 0.36 * h, 0.14 * w, 0.34 * h, 0.22 * w, 0.34 * h);
        body.lineTo(0.80 * w, 0.34 * h);
        body.lineTo(0.97 * w, 0.20 * h);
        body.lineTo(0.99 * w, 0.58 * h);
        body.lineTo(0.22 * w, 0.70 * h);
        body.cubicTo(0.12 * w, 0.70 * h, 0.05 * w, 0.66 * h, 0.04 * w, 0.55 * h);
        painter.setPen(QPen(QColor(150, 160, 175), 1));
        painter.setBrush(Qt::white);
        painter.drawPath(body);
        painter.save();
        painter.setClipPath(body);
        painter.fillRect(QRectF(0, 0.52 * h, w, 0.07 * h), kNavy);
        painter.fillRect(QRectF(0, 0.59 * h, w, 0.025 * h), QColor(242, 169, 0));
        QPainterPath tail;
        tail.moveTo(0.78 * w, 0.34 * h);
        tail.lineTo(0.97 * w, 0.20 * h);
        tail.lineTo(0.99 * w, 0.58 * h);
        tail.lineTo(0.86 * w, 0.60 * h);
        painter.fillPath(tail, kNavy);
        painter.restore();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(60, 80, 105));
        for (double x = 0.24 * w; x < 0.74 * w; x += 0.035 * w) {
            painter.drawRoundedRect(QRectF(x, 0.43 * h, 0.018 * w, 0.05 * h), 2, 2);
        }
        painter.drawRoundedRect(QRectF(0.08 * w, 0.42 * h, 0.06 * w, 0.06 * h), 3, 3);
        painter.setPen(QPen(QColor(120, 130, 145), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(0.17 * w, 0.40 * h, 0.035 * w, 0.17 * h)); // door
    }
};

bool shoot(const QWidget& window, const QString& file) {
    const QRect area = window.frameGeometry().adjusted(-kMargin, -kMargin, kMargin, kMargin);
    const QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    if (shot.isNull() || !shot.save(file, "PNG")) {
        std::fprintf(stderr, "livrano-skin-shots: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

bool mainShots(const std::filesystem::path& folder, const QString& media, const QString& out) {
    SkinnedWindow window(media, QStringLiteral("Main_Background.bmp"), QStringLiteral("MainRegion.dat"),
                         QStringLiteral("frm_Main"));
    const char* captions[] = {
        "Aircraft:", "Template:", "Aircraft Variation:", "Texture Folder:", "Tail Number:", "Callsign:"};
    const char* values[] = {"Corvane CJ-4 Skyranger",
                            "Skyranger_Northwind.bmp",
                            "CJ-4 Northwind Air",
                            "No folder extension currently entered",
                            "No tail number currently entered",
                            "No callsign currently selected"};
    std::vector<ImageButton*> buttons;
    for (int row = 0; row < 6; ++row) {
        const int y = 147 + 52 * row;
        window.label(QString::fromLatin1(captions[row]), QRect(57, y, 119, 20), 9, true, kGrey);
        window.label(QString::fromLatin1(values[row]), QRect(57, y + 21, 290, 21), 9.75, false, kNavy);
        buttons.push_back(button<TinyButton>(window, folder, QPoint(16, 149 + 52 * row),
                                             row < 3 ? "Check" : "Empty", "Click to modify this item."));
    }
    window.label(QStringLiteral("Select to start the aircraft repaint wizard or use the buttons below to set "
                                "items manually."),
                 QRect(15, 85, 162, 45), 8.25, false, kGrey);
    window.label(QStringLiteral("Once all items above have been checked, press the Create Aircraft button to "
                                "finish."),
                 QRect(15, 468, 162, 45), 8.25, false, kGrey);
    window.label(QStringLiteral("Status:"), QRect(15, 556, 39, 16), 8.25, false, kGrey);
    QLabel* status = window.label(QString(), QRect(55, 556, 293, 32), 8.25, true, kGrey);
    window.label(QStringLiteral("Livrano Version 0.1.0"), QRect(640, 520, 142, 13), 8.25, false, kGrey)
        ->setAlignment(Qt::AlignRight);
    // The preview side: the template's texture, its scroll bar and options. The texture list
    // gives its corner to the Previous and Next strips, which only the wizard screens show.
    (new TexturePreview(&window))->setGeometry(372, 150, 397, 240);
    QLabel* note = window.label(QString(), QRect(358, 420, 425, 30), 11, true, kNavy);
    note->setAlignment(Qt::AlignCenter);
    auto* scroll = styled(new QScrollBar(Qt::Horizontal, &window), QRect(358, 501, 425, 18), kGrey);
    scroll->setRange(0, 100);
    styled(new QCheckBox(QStringLiteral("Create Plane in DXT3 Format"), &window), QRect(359, 522, 197, 16),
           kInk);
    styled(new QRadioButton(QStringLiteral("Preview Standard Texture"), &window), QRect(358, 549, 179, 19),
           kInk)
        ->setChecked(true);
    styled(new QRadioButton(QStringLiteral("Preview Alpha Channel"), &window), QRect(358, 569, 179, 19),
           kInk);
    buttons.push_back(button<TinyButton>(window, folder, {756, 15}, "Close", "Click to Exit from Livrano."));
    buttons.push_back(button<TinyButton>(window, folder, {715, 15}, "Help",
                                         "Click to access the Help document for Livrano."));
    buttons.push_back(button<TinyButton>(window, folder, {706, 552}, "Previous",
                                         "Click to move to the previous Livrano Wizard Screen."));
    buttons.push_back(button<TinyButton>(window, folder, {750, 552}, "Next",
                                         "Click to move to the next Livrano Wizard Screen."));
    ImageButton* wizard = button<LargeButton>(window, folder, {185, 85}, "Wizard",
                                              "Click to Start the Aircraft Repaint Wizard.");
    buttons.push_back(wizard);
    buttons.push_back(button<LargeButton>(window, folder, {185, 468}, "CreateAircraft",
                                          "Click to create an aircraft repaint using the settings above."));
    window.move(kWindowAt);
    window.show();
    settle(400);

    bool ok = true;
    for (const char* look : {"enabled", "highlight", "down", "disabled"}) {
        for (ImageButton* b : buttons) {
            b->set_state(QString::fromLatin1(look));
        }
        note->setText(QStringLiteral("Every button: \"%1\"").arg(QString::fromLatin1(look)));
        status->setText(QStringLiteral("Ready to Enter Aircraft Variation Information"));
        if (QString::fromLatin1(look) == QStringLiteral("highlight")) {
            // The mouse rests on the wizard button: its tooltip comes up after the delay.
            QCursor::setPos(wizard->mapToGlobal(QPoint(120, 30)));
            settle(900);
        } else {
            QCursor::setPos(window.mapToGlobal(QPoint(560, 580)));
            settle(300);
        }
        for (ImageButton* b : buttons) {
            b->set_state(QString::fromLatin1(look)); // whatever the mouse did meanwhile
        }
        settle(150);
        ok = shoot(window, out + QStringLiteral("/main-%1.png").arg(QString::fromLatin1(look))) && ok;
    }
    return ok;
}

bool wizardShot(const std::filesystem::path& folder, const QString& media, const QString& out) {
    SkinnedWindow window(media, QStringLiteral("Wizard_Background.bmp"), QStringLiteral("WizardRegion.dat"),
                         QStringLiteral("frm_SelectTemplate"));
    window.label(QStringLiteral("Select Repaint Template"), QRect(11, 33, 338, 22), 12, true, kNavy);
    window.label(QStringLiteral("Press the select button and open the template bitmap you have painted. Its "
                                "alpha companion ending in _a.bmp is loaded with it."),
                 QRect(9, 59, 383, 44), 8.25, false, kGrey);
    window.label(QStringLiteral("Current template:"), QRect(60, 176, 200, 16), 8.25, true, kGrey);
    window.label(QStringLiteral("Skyranger_Northwind.bmp"), QRect(60, 192, 300, 18), 9.75, false, kNavy);
    button<TinyButton>(window, folder, {360, 7}, "Close", "Click to close the Select Template Screen.")
        ->set_state(QStringLiteral("enabled"));
    button<TinyButton>(window, folder, {17, 176}, "Empty", "Click to select a repaint template.")
        ->set_state(QStringLiteral("enabled"));
    button<TinyButton>(window, folder, {161, 253}, "Previous", "")->set_state(QStringLiteral("enabled"));
    button<TinyButton>(window, folder, {206, 253}, "Next", "")->set_state(QStringLiteral("disabled"));
    window.move(kWindowAt);
    window.show();
    QCursor::setPos(QPoint(5, 5));
    settle(400);
    return shoot(window, out + QStringLiteral("/wizard.png"));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: livrano-skin-shots PROGRAM_FOLDER OUT_FOLDER\n");
        return 2;
    }
    if (!ensureDesignFont()) {
        std::fprintf(stderr, "livrano-skin-shots: Tahoma is missing (fonts-wine)\n");
    }
    const std::filesystem::path folder = args[1].toStdString();
    const QString media = args[1] + QStringLiteral("/Media/");
    QDir().mkpath(args[2]);
    Backdrop backdrop;
    backdrop.setGeometry(QGuiApplication::primaryScreen()->geometry());
    backdrop.show();
    settle(200);
    const bool ok = mainShots(folder, media, args[2]) && wizardShot(folder, media, args[2]);
    return ok ? 0 : 1;
}
