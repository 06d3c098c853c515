// SPDX-License-Identifier: MIT
// livrano-shots: photographs the program's windows on a real X display, for the README.
//
//   xvfb-run -a -s "-screen 0 1040x720x24" livrano-shots BUILT_PROGRAM_FOLDER OUT_FOLDER
//
// Writes a demo installation into a temporary folder, gives it the media and manual of the
// built program folder, starts the program on it exactly as `livrano` does and walks the
// wizard from Wizard to Create as a painter would, photographing the screen at each step, then
// types a variation the program refuses. The open-file dialog is the one call answered by the
// tool (with the demo's template).

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <filesystem>

#include "demo/demo_installation.h"
#include "output/paint_kit.h"
#include "screens/main_window.h"
#include "screens/program.h"
#include "screens/wizard_screen.h"
#include "skin/design_font.h"
#include "skin/image_button.h"

namespace {

using namespace livrano;
namespace fs = std::filesystem;

constexpr int kMargin = 24; // backdrop around the window in each shot

void settle(int milliseconds = 400) {
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

class Shooter {
public:
    explicit Shooter(QString out) : m_out(std::move(out)) {}
    bool ok = true;

    void shoot(const QWidget& window, const char* name) {
        settle();
        const QRect area = window.frameGeometry().adjusted(-kMargin, -kMargin, kMargin, kMargin);
        const QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        const QString file = m_out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
        if (shot.isNull() || !shot.save(file, "PNG")) {
            std::fprintf(stderr, "livrano-shots: cannot write %s\n", qPrintable(file));
            ok = false;
            return;
        }
        std::printf("%s\n", qPrintable(file));
    }

private:
    QString m_out;
};

void click(ImageButton& button) {
    QLabel* surface = button.findChild<QLabel*>();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(5, 5));
    settle(100);
}

WizardScreen& on(Program& program, Screen screen) {
    return *program.screen(screen);
}

} // namespace

// The kit of the demo's aircraft without a configuration: its template as it comes, and the same
// with the guide laid over it as a layer, side by side.
bool kitPicture(const DemoInstallation& demo, const QString& out) {
    KitRequest request;
    request.programFolder = demo.programFolder;
    request.aircraftFolder = demo.unconfigured.at(0).aircraftFolder;
    KitPlan plan;
    if (!makeKit(request, false, plan)) {
        std::fprintf(stderr, "livrano-shots: cannot make the demo's kit\n");
        return false;
    }
    const QImage paint(QString::fromStdString(plan.templateFile.string()));
    const QImage guide(QString::fromStdString(plan.guideFile.string()));
    QImage both(paint.width() * 2 + kMargin * 3, paint.height() + kMargin * 2, QImage::Format_RGB32);
    both.fill(QColor(58, 76, 98));
    QPainter painter(&both);
    painter.drawImage(kMargin, kMargin, paint);
    painter.drawImage(paint.width() + kMargin * 2, kMargin, paint);
    painter.drawImage(paint.width() + kMargin * 2, kMargin, guide);
    painter.end();
    const QString file = out + QStringLiteral("/kit-template-guide.png");
    if (paint.isNull() || guide.isNull() || !both.save(file, "PNG")) {
        std::fprintf(stderr, "livrano-shots: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    useDevicePixels();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: livrano-shots BUILT_PROGRAM_FOLDER OUT_FOLDER\n");
        return 2;
    }
    ensureDesignFont();
    QTemporaryDir dir;
    DemoInstallation demo;
    if (!dir.isValid() || !CreateDemoInstallation(fs::path(dir.path().toStdString()), demo)) {
        std::fprintf(stderr, "livrano-shots: cannot write the demo installation\n");
        return 1;
    }
    const fs::path built(args[1].toStdString());
    fs::copy(built / "Media", demo.programFolder / "Media", fs::copy_options::recursive);
    fs::copy_file(built / "Livrano.pdf", demo.programFolder / "Livrano.pdf");

    Backdrop backdrop;
    backdrop.setGeometry(QGuiApplication::primaryScreen()->geometry());
    backdrop.show();
    Desktop desktop = systemDesktop();
    const DemoAircraft& meridian = demo.aircraft[1];
    desktop.openFile = [&](const QString&, const QString&, const QString&) -> std::optional<QString> {
        return QString::fromStdString(meridian.templateFile.string());
    };
    desktop.playSound = [](const fs::path&) {};
    Program program(demo.programFolder, desktop);
    if (!program.Main())
        return 1;
    MainWindow& main = *program.mainWindow();
    QDir().mkpath(args[2]);
    Shooter shots(args[2]);
    shots.shoot(main, "main-empty");

    click(*main.btn_Wizard);
    auto* aircraft = on(program, Screen::SelectAircraft).findChild<QListWidget*>("lst_SelectAircraft");
    QTest::keyClick(aircraft, Qt::Key_Down);
    shots.shoot(on(program, Screen::SelectAircraft), "wizard-1-aircraft");
    QTest::keyClick(aircraft, Qt::Key_Return);
    click(*on(program, Screen::SelectTemplate).btn_Select);
    shots.shoot(on(program, Screen::SelectTemplate), "wizard-2-template");
    click(*on(program, Screen::SelectTemplate).btn_Next);
    const std::pair<Screen, const char*> entries[] = {
        {Screen::Variation, "Polar Express"}, {Screen::Folder, "PLX"}, {Screen::TailNumber, "N704PX"}};
    const char* const names[] = {"wizard-3-variation", "wizard-4-folder", "wizard-5-tail-number"};
    for (int i = 0; i < 3; ++i) {
        auto* box = on(program, entries[i].first).findChild<QLineEdit*>();
        QTest::keyClicks(box, QString::fromLatin1(entries[i].second));
        shots.shoot(on(program, entries[i].first), names[i]);
        if (i == 1)
            shots.shoot(main, "main-mid-wizard");
        QTest::keyClick(box, Qt::Key_Return);
    }
    WizardScreen& callsign = on(program, Screen::Callsign);
    QTest::keyClick(callsign.findChild<QComboBox*>("lst_Callsign"), Qt::Key_Down);
    shots.shoot(callsign, "wizard-6-callsign");
    click(*callsign.btn_Next);
    click(*main.btn_CreateAircraft);
    main.lst_Texture->setCurrentIndex(1);
    shots.shoot(main, "main-built");

    // A refusal in the status line: a variation with a letter the simulator's files cannot hold.
    click(*main.btn_Variation);
    auto* variation = on(program, Screen::Variation).findChild<QLineEdit*>();
    QTest::keyClicks(variation, QStringLiteral("Nord"));
    QTest::sendKeyEvent(QTest::Click, variation, Qt::Key_unknown, QString::fromUtf8("\xc4\x93"),
                        Qt::NoModifier);
    shots.shoot(main, "main-refusal");
    return shots.ok && kitPicture(demo, args[2]) ? 0 : 1;
}
