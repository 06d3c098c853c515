// SPDX-License-Identifier: MIT
#include "skin/smart_sub_class.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
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
        const char* listed; // the object in slot 1, 2, ...; '.' for a free slot
        bool last;
    };
    const Case cases[] = {
        {"+a+b+c", "abc", true},
        {"+a+b+c-b", "a.c", true},
        {"+a+b+c-b+d", "adc", true},
        {"+a+b+c-c", "ab", true},
        {"+a+b+c-b-c", "a.", true}, // only the last slot is cut; the free one
                                    // before it stays
        {"+a-a", "", true},
        {"+a+b-a+c+d", "cbd", true},
        {"-a", "", false},
        {"+a-b", "a", false}, // never subclassed: nothing is removed
        {"+a+a", "a", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        QObject objects[4];
        SmartSubClass subclass;
        bool last = false;
        for (const char* step = c.steps; *step != '\0'; step += 2) {
            last = subclass.SubClassHwnd(&objects[step[1] - 'a'], step[0] == '+');
        }
        EXPECT_EQ(last, c.last);
        ASSERT_EQ(subclass.slotCount(), static_cast<int>(std::strlen(c.listed)) + 1);
        EXPECT_EQ(subclass.slot(0), nullptr);
        for (int i = 1; i < subclass.slotCount(); ++i) {
            const char listed = c.listed[i - 1];
            EXPECT_EQ(subclass.slot(i), listed == '.' ? nullptr : &objects[listed - 'a']) << "slot " << i;
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

// The handler swallows X, which then counts as handled, and hands B to the widget in place of A.
TEST(SmartSubClass, AHandlerCanSwallowOrReplaceTheEventTheObjectReceives) {
    KeyWidget widget;
    QKeyEvent replacement(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    int calls = 0;
    SmartSubClass subclass([&](QObject*, QEvent*& message, bool& cancel) {
        if (message->type() == QEvent::KeyPress) {
            ++calls;
            const int key = static_cast<QKeyEvent*>(message)->key();
            cancel = key == Qt::Key_X;
            if (key == Qt::Key_A) {
                message = &replacement;
            }
        }
    });
    subclass.SubClassHwnd(&widget, true);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    x.ignore();
    EXPECT_TRUE(QCoreApplication::sendEvent(&widget, &x));
    EXPECT_TRUE(x.isAccepted());
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Y}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    }
    EXPECT_EQ(widget.keys, (std::vector<int>{Qt::Key_B, Qt::Key_Y}));
    EXPECT_EQ(calls, 3); // the replacement is not offered to the handler again
}

TEST(SmartSubClass, DestroyedObjectsLeaveTheListAndDestructionReleasesTheRest) {
    QObject kept;
    QObject last;
    {
        SmartSubClass subclass;
        auto* dying = new QObject;
        for (QObject* object : {&kept, dying, &last}) {
            subclass.SubClassHwnd(object, true);
        }
        delete dying;
        EXPECT_EQ(subclass.slot(2), nullptr);
        EXPECT_EQ(subclass.slotCount(), 4);
    }
    SmartSubClass again; // released, both may be subclassed again
    EXPECT_TRUE(again.SubClassHwnd(&kept, true) && again.SubClassHwnd(&last, true));
}

} // namespace
} // namespace livrano
