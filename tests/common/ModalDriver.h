#pragma once

// Drives dialogs as a user would: finds their controls by name and answers
// modal ones from inside their own event loop.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace keynest_test {

/// The child of `parent` named `name`, or nullptr.
template <class T = QWidget>
T* Child(const QObject* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}
inline QLineEdit* Box(const QObject* parent, const char* name) {
    return Child<QLineEdit>(parent, name);
}
inline void Press(const QObject* parent, const char* name) {
    Child<QPushButton>(parent, name)->click();
}

/// Runs `action` on the next modal dialog of type T once it is open. The
/// check runs on a timer, so it works while exec() is running.
template <class T>
void WhenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(dialog);
    });
    timer->start();
}

/// Rejects the next modal dialog of type T, as Cancel would.
template <class T>
void RejectWhenModal() {
    WhenModal<T>([](T* dialog) { dialog->reject(); });
}

}  // namespace keynest_test
