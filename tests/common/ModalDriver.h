#pragma once

// Answers modal dialogs from inside their own event loop, as a user would.

#include <QApplication>
#include <QTimer>
#include <functional>

namespace keynest_test {

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

}  // namespace keynest_test
