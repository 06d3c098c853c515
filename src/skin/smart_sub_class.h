// SPDX-License-Identifier: MIT
#pragma once
// Lets one object see, change or swallow the events of other objects before they handle them.
// The image buttons use it to hear that the mouse has left their picture surface.

#include <QObject>

#include <functional>
#include <vector>

class QEvent;

namespace livrano {

class SmartSubClass : public QObject {
public:
    // Called with every event of a subclassed object before the object sees it. The handler may
    // point `event` at an event of its own (kept alive until it returns), which the object then
    // receives instead, or set Cancel, which swallows the event: the object never sees it and the
    // event counts as handled (result 0).
    using NewMessage = std::function<void(QObject* object, QEvent*& event, bool& Cancel)>;

    explicit SmartSubClass(NewMessage handler = {});
    // Releases every object still subclassed.
    ~SmartSubClass() override;
    SmartSubClass(const SmartSubClass&) = delete;
    SmartSubClass& operator=(const SmartSubClass&) = delete;

    // bSubclass true: starts watching `object`; false when it is null or already subclassed (by
    // this or any other SmartSubClass), which leaves it unchanged. bSubclass false: stops
    // watching; true only when this SmartSubClass had subclassed `object`.
    bool SubClassHwnd(QObject* object, bool bSubclass);

    // The name of the property that marks a subclassed object with its owner.
    static constexpr const char* kOwnerProperty = "SSC_OBJADDR";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The handle list: slot 0 holds nothing; a slot holds a subclassed object or is free (null).
    // Find gives the slot of `object`, 0 when it is not listed.
    int Find(const QObject* object) const;
    int slotCount() const { return static_cast<int>(m_handles.size()); }
    void Add(QObject* object);
    void Remove(const QObject* object);
    int FindFreeSlot() const;
    void forget(QObject* destroyed);

    std::vector<QObject*> m_handles{nullptr};
    NewMessage m_handler;
    QEvent* m_forwarding = nullptr; // a replacement event on its way to its object
};

} // namespace livrano
