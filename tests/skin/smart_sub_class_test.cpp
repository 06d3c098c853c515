// SPDX-License-Identifier: MIT
#include "skin/smart_sub_class.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace livrano {
namespace {

// Records the keys it receives.
class KeyWidget : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

void press(QObject* object, Qt::Key key = Qt::Key_A) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(object, &event);
}

// Steps on objects a..c: + subclass, - release, x destroy the object, o and O another instance
// subclassing and releasing. Then the handler hears each watched object exactly once and no
// other; once the instance is gone, every object left can be subclassed afresh.
TEST(SmartSubClass, TheHandlerHearsExactlyTheWatchedObjectsAndDestructionReleasesThem) {
    struct Case {
        const char* steps;
        const char* watched;
        bool last; // what the last subclass or release step returned
    };
    const Case cases[] = {
        {"+a+b+c-b", "ac", true},     {"+a+b+c-c", "ab", true}, {"+a+b-a+c", "bc", true},
        {"+a+b+c-a-b+a", "ac", true}, {"+a-a", "", true},       {"-a", "", false},
        {"+a-b", "a", false},         {"+a+a", "a", false},     {"+a+b+cxb", "ac", true},
        {"+a+b+cxc", "ab", true},     {"+aoa", "a", false},     {"+aOa", "a", false},
        {"oa+a", "", false},          {"oa-a", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        std::map<char, std::unique_ptr<QObject>> objects;
        for (const char name : {'a', 'b', 'c'})
            objects[name] = std::make_unique<QObject>();
        std::map<const QObject*, int> heard;
        auto subclass = std::make_unique<SmartSubClass>([&](QObject* object, QEvent*& message, bool&) {
            heard[object] += message->type() == QEvent::KeyPress;
        });
        SmartSubClass other;
        bool last = false;
        for (const char* step = c.steps; *step != '\0'; step += 2) {
            QObject* object = objects[step[1]].get();
            if (step[0] == 'x')
                objects.erase(step[1]);
            else if (step[0] == 'o' || step[0] == 'O')
                last = other.SubClassHwnd(object, step[0] == 'o');
            else
                last = subclass->SubClassHwnd(object, step[0] == '+');
        }
        EXPECT_EQ(last, c.last);
        for (const auto& [name, object] : objects) {
            press(object.get());
            EXPECT_EQ(heard[object.get()], std::strchr(c.watched, name) != nullptr ? 1 : 0) << name;
        }
        subclass.reset();
        SmartSubClass fresh;
        for (const auto& [name, object] : objects) {
            other.SubClassHwnd(object.get(), false);
            EXPECT_TRUE(fresh.SubClassHwnd(object.get(), true)) << name;
        }
    }
    EXPECT_FALSE(SmartSubClass().SubClassHwnd(nullptr, true));
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
            if (key == Qt::Key_A)
                message = &replacement;
        }
    });
    subclass.SubClassHwnd(&widget, true);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier);
    x.ignore();
    EXPECT_TRUE(QCoreApplication::sendEvent(&widget, &x));
    EXPECT_TRUE(x.isAccepted());
    press(&widget, Qt::Key_A);
    press(&widget, Qt::Key_Y);
    EXPECT_EQ(widget.keys, (std::vector<int>{Qt::Key_B, Qt::Key_Y}));
    EXPECT_EQ(calls, 3); // the replacement is not offered to the handler again
}

} // namespace
} // namespace livrano
