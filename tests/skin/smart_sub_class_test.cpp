#include "skin/smart_sub_class.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace livrano {
namespace {

// Records the keys and presses it receives.
class KeyWidget : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

// The list after a sequence of subclass (+) and release (-) steps on objects a..d, and what the
// last step returned.
TEST(SmartSubClassList, FreeSlotsAreReusedAndTheLastSlotShrinks) {
    struct Case {
        const char* steps;
        std::vector<int> listed; // slot i+1 holds object index, or -1 when free
        bool last;
    };
    const Case cases[] = {
        {"+a+b+c", {0, 1, 2}, true},
        {"+a+b+c-b", {0, -1, 2}, true},
        {"+a+b+c-b+d", {0, 3, 2}, true},
        {"+a+b+c-c", {0, 1}, true},
        {"+a+b+c-b-c", {0, -1}, true}, // only the last slot is cut; the free one
                                       // before it stays
        {"+a-a", {}, true},
        {"+a+b-a+c+d", {2, 1, 3}, true},
        {"-a", {}, false},
        {"+a-b", {0}, false}, // never subclassed: nothing is removed
        {"+a+a", {0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        std::vector<std::unique_ptr<QObject>> objects;
        for (int i = 0; i < 4; ++i) {
            objects.push_back(std::make_unique<QObject>());
        }
        SmartSubClass subclass;
        bool last = false;
        for (const char* step = c.steps; *step != '\0'; step += 2) {
            last =
                subclass.SubClassHwnd(objects[static_cast<std::size_t>(step[1] - 'a')].get(), step[0] == '+');
        }
        EXPECT_EQ(last, c.last);
        ASSERT_EQ(subclass.slotCount(), static_cast<int>(c.listed.size()) + 1);
        EXPECT_EQ(subclass.slot(0), nullptr);
        for (std::size_t i = 0; i < c.listed.size(); ++i) {
            const QObject* expected =
                c.listed[i] < 0 ? nullptr : objects[static_cast<std::size_t>(c.listed[i])].get();
            EXPECT_EQ(subclass.slot(static_cast<int>(i) + 1), expected) << "slot " << i + 1;
        }
    }
}

TEST(SmartSubClass, SubclassingTwiceFailsAndKeepsOneLayer) {
    KeyWidget widget;
    int seen = 0;
    SmartSubClass first(
        [&](QObject*, QEvent*& message, bool&) { seen += message->type() == QEvent::KeyPress; });
    SmartSubClass second;
    EXPECT_TRUE(first.SubClassHwnd(&widget, true));
    EXPECT_FALSE(first.SubClassHwnd(&widget, true));
    EXPECT_FALSE(second.SubClassHwnd(&widget, true));
    EXPECT_FALSE(second.SubClassHwnd(nullptr, true));
    EXPECT_EQ(second.Find(&widget), 0);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &key);
    EXPECT_EQ(seen, 1);
    // Only the owner can release it.
    EXPECT_FALSE(second.SubClassHwnd(&widget, false));
    EXPECT_TRUE(first.SubClassHwnd(&widget, false));
    EXPECT_FALSE(first.SubClassHwnd(&widget, false));
    EXPECT_FALSE(widget.property(SmartSubClass::kOwnerProperty).isValid());
    QCoreApplication::sendEvent(&widget, &key);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(widget.keys.size(), 2u);
}

TEST(SmartSubClass, CancelSwallowsTheEventAsHandled) {
    KeyWidget widget;
    SmartSubClass subclass([](QObject*, QEvent*& message, bool& cancel) {
        cancel = message->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(message)->key() == Qt::Key_X;
    });
    subclass.SubClassHwnd(&widget, true);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    x.ignore();
    EXPECT_TRUE(QCoreApplication::sendEvent(&widget, &x));
    EXPECT_TRUE(x.isAccepted());
    QKeyEvent y(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &y);
    EXPECT_EQ(widget.keys, std::vector<int>{Qt::Key_Y});
}

TEST(SmartSubClass, AHandlerCanChangeTheEventTheObjectReceives) {
    KeyWidget widget;
    QKeyEvent replacement(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    int calls = 0;
    SmartSubClass subclass([&](QObject*, QEvent*& message, bool&) {
        if (message->type() == QEvent::KeyPress) {
            ++calls;
            message = &replacement;
        }
    });
    subclass.SubClassHwnd(&widget, true);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &a);
    EXPECT_EQ(widget.keys, std::vector<int>{Qt::Key_B});
    EXPECT_EQ(calls, 1); // the replacement is not offered to the handler again
}

TEST(SmartSubClass, DestroyedObjectsLeaveTheListAndDestructionReleasesTheRest) {
    auto kept = std::make_unique<QObject>();
    auto dying = std::make_unique<QObject>();
    auto last = std::make_unique<QObject>();
    {
        SmartSubClass subclass;
        subclass.SubClassHwnd(kept.get(), true);
        subclass.SubClassHwnd(dying.get(), true);
        subclass.SubClassHwnd(last.get(), true);
        dying.reset();
        EXPECT_EQ(subclass.slot(2), nullptr);
        EXPECT_EQ(subclass.slotCount(), 4);
    }
    EXPECT_FALSE(kept->property(SmartSubClass::kOwnerProperty).isValid());
    EXPECT_FALSE(last->property(SmartSubClass::kOwnerProperty).isValid());
    SmartSubClass again;
    EXPECT_TRUE(again.SubClassHwnd(kept.get(), true));
}

} // namespace
} // namespace livrano
