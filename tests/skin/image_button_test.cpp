#include "skin/image_button.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/smart_sub_class.h"
#include "skin/tooltip.h"
#include "support/temp_dir.h"

namespace livrano {
namespace {

const QRgb kFrameColours[4] = {qRgb(10, 120, 200), qRgb(250, 200, 40), qRgb(20, 60, 90), qRgb(160, 160, 160)};

// A program folder whose Media folder holds four-frame strips of plain colours.
class ProgramFolder {
public:
    ProgramFolder() {
        QDir().mkpath(path(""));
        writeStrip("Close.bmp", TinyButton::kFrameSize, 0);
        writeStrip("check.bmp", TinyButton::kFrameSize, 1); // found whatever the case
        writeStrip("Wizard.bmp", LargeButton::kFrameSize, 0);
    }
    const std::filesystem::path& folder() const { return m_dir.path(); }

private:
    QString path(const char* name) const {
        return QString::fromStdString((m_dir.path() / "Media" / name).string());
    }
    void writeStrip(const char* name, QSize frame, int shift) const {
        QImage strip(frame.width(), frame.height() * 4, QImage::Format_RGB32);
        for (int k = 0; k < 4; ++k) {
            for (int y = 0; y < frame.height(); ++y) {
                for (int x = 0; x < frame.width(); ++x) {
                    strip.setPixel(x, k * frame.height() + y, kFrameColours[(k + shift) % 4]);
                }
            }
        }
        ASSERT_TRUE(strip.save(path(name), "BMP"));
    }
    testing::TempDir m_dir;
};

struct Call {
    char table;
    QString form;
    QString type;
    bool operator==(const Call&) const = default;
};

class Recorder : public ButtonCommandDispatcher {
public:
    std::vector<Call> calls;
    Status result = Status::Ok();
    std::function<void()> during;

    Status smallButton(const QString& form, const QString& type) override { return run('s', form, type); }
    Status largeButton(const QString& form, const QString& type) override { return run('l', form, type); }

private:
    Status run(char table, const QString& form, const QString& type) {
        calls.push_back({table, form, type});
        if (during) {
            during();
        }
        return result;
    }
};

// A window with one button of each kind, set up as the screens do.
class Screen {
public:
    explicit Screen(const std::filesystem::path& folder) {
        window.setObjectName(QStringLiteral("frm_Main"));
        window.setGeometry(50, 50, 400, 200);
        tiny = new TinyButton(folder, &window);
        tiny->move(20, 20);
        large = new LargeButton(folder, &window);
        large->move(100, 20);
        for (ImageButton* button : {static_cast<ImageButton*>(tiny), static_cast<ImageButton*>(large)}) {
            button->set_button_type(QStringLiteral("close"));
            button->set_form_name(&window);
            button->set_picture(button == tiny ? QStringLiteral("Close") : QStringLiteral("Wizard"));
            button->set_state(QStringLiteral("enabled"));
            button->setDispatcher(&recorder);
        }
        window.show();
    }
    QWidget window;
    TinyButton* tiny;
    LargeButton* large;
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

void hover(ImageButton& button) {
    QLabel* surface = pic(button);
    const QPointF at(5, 5);
    QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &move);
}

void leave(ImageButton& button) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(pic(button), &event);
}

QPoint inside(ImageButton& button) {
    return QPoint(5, 5 - pic(button)->y());
}

TEST(ImageButton, EachLookShowsItsFrameAndOtherTextsChangeNothing) {
    ProgramFolder folder;
    Screen screen(folder.folder());
    for (ImageButton* button :
         {static_cast<ImageButton*>(screen.tiny), static_cast<ImageButton*>(screen.large)}) {
        SCOPED_TRACE(button->oneFrameSize().width());
        EXPECT_EQ(button->size(), button->oneFrameSize());
        EXPECT_EQ(pic(*button)->size(), QSize(button->width(), button->height() * 4));
        const char* looks[] = {"enabled", "highlight", "down", "disabled"};
        for (int k = 0; k < 4; ++k) {
            button->set_state(QString::fromLatin1(looks[k]));
            EXPECT_EQ(shownFrame(*button), k) << looks[k];
            EXPECT_EQ(shownColour(*button), kFrameColours[k]) << looks[k];
        }
        button->set_state(QStringLiteral("down"));
        for (const char* other : {"Enabled", "DISABLED", "pressed", ""}) {
            button->set_state(QString::fromLatin1(other));
            EXPECT_EQ(button->state(), QString::fromLatin1(other));
            EXPECT_EQ(shownFrame(*button), 2) << other;
        }
    }
}

// One step of a mouse script on a button's picture surface.
void act(ImageButton& button, char step) {
    QLabel* surface = pic(button);
    const auto mouse = [](char c) {
        return c == 'P' || c == 'R'   ? Qt::RightButton
               : c == 'M' || c == 'N' ? Qt::MiddleButton
                                      : Qt::LeftButton;
    };
    switch (step) {
    case 'm':
        hover(button);
        break;
    case 'l':
        leave(button);
        break;
    case 'c':
        button.click_event();
        break;
    case 'o': // released far off the button
        QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(-200, 300));
        break;
    case 'd': { // the second press of a double-click, as the window system reports it
        QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(inside(button)),
                          surface->mapToGlobal(QPointF(inside(button))), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
        break;
    }
    case 'p':
    case 'P':
    case 'M':
        QTest::mousePress(surface, mouse(step), {}, inside(button));
        break;
    default: // r, R, N
        QTest::mouseRelease(surface, mouse(step), {}, inside(button));
        break;
    }
}

const std::map<char, QString> kLooks = {
    {'e', "enabled"}, {'h', "highlight"}, {'d', "down"}, {'x', "disabled"}};

// What the dispatcher does with a released button's command.
enum class Command { Runs, NoWindow, Fails, DisablesAndFails };

// Scripts: m move over, l leave, p/r left press/release, P/R right, M/N middle, o left release
// far outside, d double-click, c click_event. After each step the button shows the next look.
TEST(ImageButton, MouseScriptsFollowTheStateTable) {
    struct Case {
        const char* name;
        std::vector<const char*> set; // states the program sets first
        int frameBefore;              // shown after them
        const char* script;
        const char* looks; // one per step
        std::size_t runs;
        bool large = false; // on the large button, whose commands use the large-button table
        Command command = Command::Runs;
        int tracking = -1; // after the script; -1: not checked
    };
    // Looks: e enabled, h highlight, d down, x disabled.
    const Case cases[] = {
        {"release outside still runs", {"enabled"}, 0, "mpol", "hdhe", 1},
        {"moves while tracking change nothing", {"enabled"}, 0, "mpm", "hdd", 0},
        {"right and middle buttons run too", {"enabled"}, 0, "PRMN", "dhdh", 2, true},
        {"a double-click without a second press runs twice", {"enabled"}, 0, "prdr", "dhdh", 2},
        {"a double-click runs twice", {"enabled"}, 0, "prpdr", "dhddh", 2},
        {"a release without a press is no click", {"enabled"}, 0, "r", "e", 0},
        {"disabled ignores the mouse", {"disabled"}, 3, "mprlc", "xxxxx", 0},
        {"capital Enabled keeps the frame and takes the mouse", {"disabled", "Enabled"}, 3, "mc", "hd", 0},
        {"a run keeps the hover", {"enabled"}, 0, "mpr", "hdh", 1, false, Command::Runs, 1},
        // Recovery forgets the hover, so that the next move highlights again.
        {"no window set", {"enabled"}, 0, "mpr", "hdh", 0, false, Command::NoWindow, 0},
        {"the command fails", {"enabled"}, 0, "mpr", "hdh", 1, false, Command::Fails, 0},
        {"the command disables the button and fails",
         {"enabled"},
         0,
         "mpr",
         "hdx",
         1,
         false,
         Command::DisablesAndFails,
         0},
    };
    ProgramFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Screen screen(folder.folder());
        ImageButton& button = c.large ? static_cast<ImageButton&>(*screen.large) : *screen.tiny;
        for (const char* state : c.set) {
            button.set_state(QString::fromLatin1(state));
        }
        EXPECT_EQ(shownFrame(button), c.frameBefore);
        if (c.command == Command::NoWindow) {
            button.set_form_name(nullptr);
        }
        if (c.command != Command::Runs && c.command != Command::NoWindow) {
            screen.recorder.result = Status::Error("failed");
        }
        if (c.command == Command::DisablesAndFails) {
            screen.recorder.during = [&] { button.set_state(QStringLiteral("disabled")); };
        }
        for (std::size_t i = 0; c.script[i] != '\0'; ++i) {
            act(button, c.script[i]);
            const QString look = kLooks.at(c.looks[i]);
            EXPECT_EQ(button.state(), look) << "after step " << i << " '" << c.script[i] << "'";
            EXPECT_EQ(shownFrame(button), ImageButton::frameIndex(look).value()) << "after step " << i;
        }
        EXPECT_EQ(screen.recorder.calls,
                  std::vector<Call>(c.runs, Call{c.large ? 'l' : 's', "frm_Main", "close"}));
        if (c.tracking >= 0) {
            EXPECT_EQ(button.tracking(), c.tracking == 1);
        }
    }
}

TEST(ImageButton, ACommandMayDestroyTheButtonsWindow) {
    ProgramFolder folder;
    auto screen = std::make_unique<Screen>(folder.folder());
    Recorder recorder;
    recorder.during = [&] { delete screen->tiny; };
    recorder.result = Status::Error("gone");
    screen->tiny->setDispatcher(&recorder);
    QLabel* surface = pic(*screen->tiny);
    const QPointer<TinyButton> watch(screen->tiny);
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(recorder.calls.size(), 1u);
    EXPECT_TRUE(watch.isNull());
}

TEST(ImageButton, PictureLoadsTheTrimmedNameAndAFailedLoadKeepsTheImage) {
    ProgramFolder folder;
    Screen screen(folder.folder());
    TinyButton& button = *screen.tiny;
    button.set_state(QStringLiteral("highlight"));
    button.set_picture(QStringLiteral(" Check "));
    EXPECT_EQ(button.picture(), QStringLiteral(" Check "));
    EXPECT_EQ(shownFrame(button), 1);
    EXPECT_EQ(shownColour(button), kFrameColours[2]); // Check's strip starts one colour later
    button.set_picture(QStringLiteral("Missing"));
    EXPECT_EQ(button.picture(), QStringLiteral("Missing"));
    EXPECT_EQ(shownColour(button), kFrameColours[2]);

    TinyButton fresh(folder.folder());
    fresh.set_picture(QStringLiteral("Missing"));
    EXPECT_TRUE(pic(fresh)->pixmap().isNull());
}

TEST(ImageButton, ResizingKeepsOneFrameAndShowsTheFirst) {
    ProgramFolder folder;
    Screen screen(folder.folder());
    for (ImageButton* button :
         {static_cast<ImageButton*>(screen.tiny), static_cast<ImageButton*>(screen.large)}) {
        button->set_state(QStringLiteral("highlight"));
        button->resize(70, 20);
        QCoreApplication::processEvents();
        EXPECT_EQ(button->size(), button->oneFrameSize());
        EXPECT_EQ(shownFrame(*button), 0);
        EXPECT_EQ(button->state(), QStringLiteral("highlight"));
    }
}

TEST(ImageButton, ToolTipIsMadeWithTheProgramsSettings) {
    ProgramFolder folder;
    Screen screen(folder.folder());
    screen.tiny->set_ToolTip(QStringLiteral("Click to Exit from Livrano."));
    cls_Tooltip* first = screen.tiny->tooltip();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ForeColor(), QColor(45, 45, 45));
    EXPECT_EQ(first->BackColor(), QColor(231, 231, 231));
    EXPECT_EQ(first->MaxWidth(), 400);
    EXPECT_EQ(first->VisibleTime(), 10000);
    EXPECT_EQ(first->DelayTime(), 250);
    EXPECT_EQ(first->tipFont().family(), QStringLiteral("Tahoma"));
    screen.tiny->set_ToolTip(QStringLiteral("Other"));
    EXPECT_EQ(screen.tiny->ToolTip(), QStringLiteral("Other"));
    EXPECT_NE(screen.tiny->tooltip(), nullptr);
}

TEST(ImageButton, EndingTheSubclassingReachesEveryButtonOfTheWindowOnly) {
    ProgramFolder folder;
    Screen screen(folder.folder());
    auto* nested = new QWidget(&screen.window);
    auto* inner = new TinyButton(folder.folder(), nested);
    inner->set_ToolTip(QStringLiteral("inner"));
    screen.large->set_ToolTip(QStringLiteral("large"));
    Screen other(folder.folder());
    other.tiny->set_ToolTip(QStringLiteral("other"));
    EXPECT_EQ(screen.window.findChildren<ImageButton*>().size(), 3);
    EndButtonSubclassing(screen.window);
    for (ImageButton* button : {static_cast<ImageButton*>(screen.tiny),
                                static_cast<ImageButton*>(screen.large), static_cast<ImageButton*>(inner)}) {
        EXPECT_EQ(button->tooltip(), nullptr);
        EXPECT_FALSE(pic(*button)->property(SmartSubClass::kOwnerProperty).isValid());
    }
    EXPECT_NE(other.tiny->tooltip(), nullptr);
    EXPECT_TRUE(pic(*other.tiny)->property(SmartSubClass::kOwnerProperty).isValid());
    // Without its subclassing a button no longer hears the mouse leave.
    hover(*screen.tiny);
    leave(*screen.tiny);
    EXPECT_EQ(screen.tiny->state(), QStringLiteral("highlight"));
    screen.tiny->end_sub_class(); // a second call is harmless
}

} // namespace
} // namespace livrano
