#include "skin/smart_sub_class.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

namespace livrano {

SmartSubClass::SmartSubClass(NewMessage handler) : m_handler(std::move(handler)) {}

SmartSubClass::~SmartSubClass() {
    for (int i = slotCount() - 1; i >= 1; --i) {
        if (QObject* hWnd = m_handles[static_cast<std::size_t>(i)]) {
            SubClassHwnd(hWnd, false);
        }
    }
}

bool SmartSubClass::SubClassHwnd(QObject* hWnd, bool bSubclass) {
    if (hWnd == nullptr) {
        return false;
    }
    const QVariant owner = hWnd->property(kOwnerProperty);
    if (bSubclass) {
        if (owner.isValid()) {
            return false;
        }
        hWnd->installEventFilter(this);
        hWnd->setProperty(kOwnerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
        Add(hWnd);
        // A watched object that dies while subclassed must not stay in the list as a dangling
        // handle that the destructor would later release.
        connect(hWnd, &QObject::destroyed, this, &SmartSubClass::forget);
        return true;
    }
    // Only the owner may release: releasing another owner's object would leave a stale entry in
    // that owner's list.
    if (!owner.isValid() || owner.value<QObject*>() != this) {
        return false;
    }
    hWnd->removeEventFilter(this);
    hWnd->setProperty(kOwnerProperty, QVariant());
    disconnect(hWnd, &QObject::destroyed, this, &SmartSubClass::forget);
    Remove(hWnd);
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

int SmartSubClass::Find(const QObject* hWnd) const {
    if (hWnd == nullptr) {
        return 0;
    }
    for (std::size_t i = 1; i < m_handles.size(); ++i) {
        if (m_handles[i] == hWnd) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

void SmartSubClass::Add(QObject* hWnd) {
    if (Find(hWnd) != 0) {
        return;
    }
    if (const int free = FindFreeSlot(); free != 0) {
        m_handles[static_cast<std::size_t>(free)] = hWnd;
    } else {
        m_handles.push_back(hWnd);
    }
}

void SmartSubClass::Remove(const QObject* hWnd) {
    const int index = Find(hWnd);
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
