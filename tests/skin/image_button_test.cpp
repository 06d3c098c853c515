// SPDX-License-Identifier: MIT
#include "skin/image_button.h"
#include "skin/tooltip.h"

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace livrano {
namespace {

// The buttons show the strips the build drew into its program folder.
const std::filesystem::path kProgramFolder = LIVRANO_PROGRAM_DIR;
const char* const kLooks[] = {"enabled", "highlight", "down", "disabled"};

// The colour at the centre of frame k of a strip, read from its file.
QRgb frameColour(const QString& picture, QSize frame, int k) {
    const QImage strip(QStringLiteral(LIVRANO_PROGRAM_DIR "/Media/%1.bmp").arg(picture));
    return strip.pixel(frame.width() / 2, k * frame.height() + frame.height() / 2);
}

// Records each command as its table ("s" small, "l" large), window name and button type.
class Recorder : public ButtonCommandDispatcher {
public:
    std::vector<QString> calls;
    Status result = Status::Ok();
    std::function<void()> during;

    Status smallButton(const QString& form, const QString& type) override { return run("s ", form, type); }
    Status largeButton(const QString& form, const QString& type) override { return run("l ", form, type); }

private:
    Status run(const char* table, const QString& form, const QString& type) {
        calls.push_back(table + form + ' ' + type);
        if (during)
            during();
        return result;
    }
};

// A window with one button of each kind, set up as the screens do.
class Screen {
public:
    Screen() {
        window.setObjectName(QStringLiteral("frm_Main"));
        window.setGeometry(50, 50, 400, 200);
        tiny->move(20, 20);
        large->move(100, 20);
        for (ImageButton* button : buttons()) {
            button->set_button_type(QStringLiteral("close"));
            button->set_form_name(&window);
            button->set_picture(button == tiny ? QStringLiteral("Check") : QStringLiteral("Wizard"));
            button->set_state(QStringLiteral("enabled"));
            button->setDispatcher(&recorder);
        }
        window.show();
    }
    std::vector<ImageButton*> buttons() const { return {tiny, large}; }

    QWidget window;
    TinyButton* tiny = new TinyButton(kProgramFolder, &window);
    LargeButton* large = new LargeButton(kProgramFolder, &window);
    Recorder recorder;
};

QLabel* pic(ImageButton& button) {
    return button.findChild<QLabel*>(QStringLiteral("pic_BG"));
}

// The frame on show, from where the strip sits; -1 when it sits between frames.
int shownFrame(ImageButton& button) {
    const QPoint at = pic(button)->pos();
    const int height = button.oneFrameSize().height();
    return at.x() == 0 && at.y() % height == 0 ? -at.y() / height : -1;
}

QRgb shownColour(ImageButton& button) {
    return button.grab().toImage().pixel(button.width() / 2, button.height() / 2) | 0xFF000000u;
}

// One step of a mouse script on a button's picture surface: m move over, l leave, p/r left
// press/release, P/R right, M/N middle, o left release far outside, d the second press of a
// double-click as the window system reports it, c click_event, E the program setting "enabled".
void act(ImageButton& button, char step) {
    struct Mouse {
        QEvent::Type type;
        Qt::MouseButton button;
        QPointF at = QPointF(5, 5);
    };
    static const std::map<char, Mouse> kMouse = {
        {'m', {QEvent::MouseMove, Qt::NoButton}},
        {'p', {QEvent::MouseButtonPress, Qt::LeftButton}},
        {'r', {QEvent::MouseButtonRelease, Qt::LeftButton}},
        {'P', {QEvent::MouseButtonPress, Qt::RightButton}},
        {'R', {QEvent::MouseButtonRelease, Qt::RightButton}},
        {'M', {QEvent::MouseButtonPress, Qt::MiddleButton}},
        {'N', {QEvent::MouseButtonRelease, Qt::MiddleButton}},
        {'o', {QEvent::MouseButtonRelease, Qt::LeftButton, QPointF(-200, 300)}},
        {'d', {QEvent::MouseButtonDblClick, Qt::LeftButton}},
    };
    QLabel* surface = pic(button);
    if (step == 'c') {
        button.click_event();
    } else if (step == 'E') {
        button.set_state(QStringLiteral("enabled"));
    } else if (step == 'l') {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(surface, &leave);
    } else {
        const Mouse& m = kMouse.at(step);
        const Qt::MouseButtons held = m.type == QEvent::MouseButtonRelease ? Qt::NoButton : m.button;
        QMouseEvent event(m.type, m.at, surface->mapToGlobal(m.at), m.button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
    }
}

TEST(ImageButton, EachLookShowsItsFrameOtherTextsKeepItAResizeShowsTheFirstAndPicturesLoadTrimmed) {
    Screen screen;
    for (ImageButton* button : screen.buttons()) {
        SCOPED_TRACE(button->picture().toStdString());
        for (int k = 0; k < 4; ++k) {
            button->set_state(QString::fromLatin1(kLooks[k]));
            EXPECT_EQ(shownFrame(*button), k) << kLooks[k];
            EXPECT_EQ(shownColour(*button), frameColour(button->picture(), button->oneFrameSize(), k))
                << kLooks[k];
        }
        button->set_state(QStringLiteral("down"));
        for (const char* other : {"Enabled", "DISABLED", "pressed", ""}) {
            button->set_state(QString::fromLatin1(other));
            EXPECT_EQ(shownFrame(*button), 2) << other;
        }
        // The control stays one frame; a forced resize shows the first and keeps the state.
        button->resize(70, 20);
        QCoreApplication::processEvents();
        EXPECT_EQ(button->size(), button->oneFrameSize());
        EXPECT_EQ(shownFrame(*button), 0);
        EXPECT_EQ(button->state(), QString());
    }
    // A strip is found by its name without blanks; one that cannot be loaded leaves the image.
    TinyButton& button = *screen.tiny;
    button.set_state(QStringLiteral("highlight"));
    const QRgb close = frameColour(QStringLiteral("Close"), TinyButton::kFrameSize, 1);
    ASSERT_NE(shownColour(button), close);
    button.set_picture(QStringLiteral(" close ")); // the file is Close.bmp
    EXPECT_EQ(shownFrame(button), 1);
    EXPECT_EQ(shownColour(button), close);
    button.set_picture(QStringLiteral("Missing"));
    EXPECT_EQ(shownColour(button), close);

    TinyButton fresh(kProgramFolder);
    fresh.set_picture(QStringLiteral("Missing"));
    EXPECT_TRUE(pic(fresh)->pixmap().isNull());
}

// What the dispatcher does with a released button's command.
enum class Command { Runs, NoWindow, Fails, DisablesAndFails };

TEST(ImageButton, MouseScriptsFollowTheStateTable) {
    struct Case {
        const char* name;
        const char* state; // set first
        const char* script;
        const char* looks; // after each step: e enabled, h highlight, d down, x disabled
        std::size_t runs;
        bool large = false; // on the large button, whose commands use the large-button table
        Command command = Command::Runs;
    };
    const Case cases[] = {
        {"release outside still runs", "enabled", "mpol", "hdhe", 1},
        {"moves while tracking change nothing", "enabled", "mpm", "hdd", 0},
        {"right and middle buttons run too", "enabled", "PRMN", "dhdh", 2, true},
        {"a double-click without a second press runs twice", "enabled", "prdr", "dhdh", 2},
        {"a double-click runs twice", "enabled", "prpdr", "dhddh", 2},
        {"a release without a press is no click", "enabled", "r", "e", 0},
        {"disabled ignores the mouse", "disabled", "mprlc", "xxxxx", 0},
        {"capital Enabled takes the mouse", "Enabled", "mc", "hd", 0},
        // E: the program sets "enabled"; a move then highlights only if the button forgot the hover.
        {"a run keeps the hover", "enabled", "mprEm", "hdhee", 1},
        // Recovery forgets the hover, so that the next move highlights again.
        {"no window set", "enabled", "mprEm", "hdheh", 0, false, Command::NoWindow},
        {"the command fails", "enabled", "mprEm", "hdheh", 1, false, Command::Fails},
        {"its failing command disables it", "enabled", "mprEm", "hdxeh", 1, false, Command::DisablesAndFails},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen screen;
        ImageButton& button = c.large ? static_cast<ImageButton&>(*screen.large) : *screen.tiny;
        button.set_state(QString::fromLatin1(c.state));
        if (c.command == Command::NoWindow)
            button.set_form_name(nullptr);
        if (c.command == Command::Fails || c.command == Command::DisablesAndFails)
            screen.recorder.result = Status::Error("failed");
        if (c.command == Command::DisablesAndFails)
            screen.recorder.during = [&] { button.set_state(QStringLiteral("disabled")); };
        for (std::size_t i = 0; c.script[i] != '\0'; ++i) {
            act(button, c.script[i]);
            const int look = static_cast<int>(std::strchr("ehdx", c.looks[i]) - "ehdx");
            EXPECT_EQ(button.state(), QString::fromLatin1(kLooks[look])) << "after step " << i;
            EXPECT_EQ(shownFrame(button), look) << "after step " << i;
        }
        const QString call = QStringLiteral("%1 frm_Main close").arg(c.large ? 'l' : 's');
        EXPECT_EQ(screen.recorder.calls, std::vector<QString>(c.runs, call));
    }
}

TEST(ImageButton, ACommandMayDestroyTheButtonsWindow) {
    Screen screen;
    const QPointer<TinyButton> watch(screen.tiny);
    screen.recorder.during = [&] { delete screen.tiny; };
    screen.recorder.result = Status::Error("gone");
    act(*screen.tiny, 'p');
    act(*screen.tiny, 'r');
    EXPECT_EQ(screen.recorder.calls.size(), 1u);
    EXPECT_TRUE(watch.isNull());
}

TEST(ImageButton, EndingTheSubclassingReachesEveryButtonOfTheWindowOnly) {
    Screen screen;
    auto* nested = new QWidget(&screen.window);
    auto* inner = new TinyButton(kProgramFolder, nested);
    inner->set_ToolTip(QStringLiteral("inner"));
    screen.large->set_ToolTip(QStringLiteral("large"));
    Screen other;
    other.tiny->set_ToolTip(QStringLiteral("other"));
    EndButtonSubclassing(screen.window);
    for (ImageButton* button : std::initializer_list<ImageButton*>{screen.tiny, screen.large, inner})
        EXPECT_EQ(button->tooltipObject(), nullptr);
    ASSERT_NE(other.tiny->tooltipObject(), nullptr);
    // The buttons' tips as designed: dark ink on light grey, 400 pixels wide, after 250 ms for 10 s.
    const cls_Tooltip& tip = *other.tiny->tooltipObject();
    ASSERT_NE(tip.tipWindow(), nullptr);
    EXPECT_EQ(tip.tipWindow()->parentWidget(), &other.window); // and go with the button's window
    EXPECT_EQ(
        std::tuple(tip.ForeColor(), tip.BackColor(), tip.MaxWidth(), tip.DelayTime(), tip.VisibleTime()),
        std::tuple(QColor(45, 45, 45), QColor(231, 231, 231), 400, 250, 10000));
    // Without its subclassing a button no longer hears the mouse leave.
    act(*screen.tiny, 'm');
    act(*screen.tiny, 'l');
    EXPECT_EQ(screen.tiny->state(), QStringLiteral("highlight"));
    screen.tiny->end_sub_class(); // a second call is harmless
}

} // namespace
} // namespace livrano
