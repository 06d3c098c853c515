// SPDX-License-Identifier: MIT
#include "skin/smart_sub_class.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

namespace livrano {

SmartSubClass::SmartSubClass(NewMessage handler) : m_handler(std::move(handler)) {}

SmartSubClass::~SmartSubClass() {
    for (int i = slotCount() - 1; i >= 1; --i) {
        if (QObject* object = m_handles[static_cast<std::size_t>(i)]) {
            SubClassHwnd(object, false);
        }
    }
}

bool SmartSubClass::SubClassHwnd(QObject* object, bool bSubclass) {
    if (object == nullptr) {
        return false;
    }
    const QVariant owner = object->property(kOwnerProperty);
    if (bSubclass) {
        if (owner.isValid()) {
            return false;
        }
        object->installEventFilter(this);
        object->setProperty(kOwnerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
        Add(object);
        // A watched object that dies while subclassed must not stay in the list as a dangling
        // handle that the destructor would later release.
        connect(object, &QObject::destroyed, this, &SmartSubClass::forget);
        return true;
    }
    // Only the owner may release: releasing another owner's object would leave a stale entry in
    // that owner's list.
    if (!owner.isValid() || owner.value<QObject*>() != this) {
        return false;
    }
    object->removeEventFilter(this);
    object->setProperty(kOwnerProperty, QVariant());
    disconnect(object, &QObject::destroyed, this, &SmartSubClass::forget);
    Remove(object);
    return true;
}

bool SmartSubClass::eventFilter(QObject* watched, QEvent* event) {
    if (event == m_forwarding) {
        return false; // our own replacement: let the object have it
    }
    QEvent* message = event;
    bool cancel = false;
    if (m_handler) {
        m_handler(watched, message, cancel);
    }
    if (cancel) {
        event->accept(); // swallowed: handled, and not offered to anyone else
        return true;
    }
    if (message != event && message != nullptr) {
        QEvent* outer = m_forwarding;
        m_forwarding = message;
        QCoreApplication::sendEvent(watched, message);
        m_forwarding = outer;
        event->setAccepted(message->isAccepted());
        return true;
    }
    return false;
}

int SmartSubClass::Find(const QObject* object) const {
    if (object == nullptr) {
        return 0;
    }
    for (std::size_t i = 1; i < m_handles.size(); ++i) {
        if (m_handles[i] == object) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void SmartSubClass::Add(QObject* object) {
    if (Find(object) != 0) {
        return;
    }
    if (const int free = FindFreeSlot(); free != 0) {
        m_handles[static_cast<std::size_t>(free)] = object;
    } else {
        m_handles.push_back(object);
    }
}

void SmartSubClass::Remove(const QObject* object) {
    const int index = Find(object);
    if (index == 0) {
        return;
    }
    if (index == slotCount() - 1) {
        m_handles.pop_back();
    } else {
        m_handles[static_cast<std::size_t>(index)] = nullptr;
    }
}

int SmartSubClass::FindFreeSlot() const {
    for (std::size_t i = 1; i < m_handles.size(); ++i) {
        if (m_handles[i] == nullptr) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void SmartSubClass::forget(QObject* destroyed) {
    Remove(destroyed);
}

} // namespace livrano
