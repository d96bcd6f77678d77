#pragma once

// Drives dialogs as a user would: finds their controls by name and answers
// modal ones from inside their own event loop, failing fast when the
// expected one does not come.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
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
/// check runs on a timer, so it works while exec() is running. So that a
/// test never hangs, another dialog left open for a second is reported
/// with its title and rejected, and after five seconds without the dialog
/// the wait fails.
template <class T>
void WhenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer();
    timer->setInterval(5);
    struct Waited {
        int total = 0;    // ms since the wait began
        int foreign = 0;  // ms another dialog has been the modal one
    };
    auto* waited = new Waited;
    const auto stop = [timer, waited] {
        timer->stop();
        timer->deleteLater();
        delete waited;
    };
    QObject::connect(timer, &QTimer::timeout, [timer, action, waited, stop] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<T*>(modal);
        if (dialog && dialog->isVisible()) {
            stop();
            action(dialog);
            return;
        }
        waited->total += timer->interval();
        waited->foreign = modal ? waited->foreign + timer->interval() : 0;
        if (waited->foreign >= 1000) {
            ADD_FAILURE() << "expected a " << T::staticMetaObject.className()
                          << ", found the dialog \"" << modal->windowTitle().toStdString() << '"';
            if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
            stop();
        } else if (waited->total >= 5000) {
            ADD_FAILURE() << "no " << T::staticMetaObject.className() << " opened";
            if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
            stop();
        }
    });
    timer->start();
}

/// Rejects the next modal dialog of type T, as Cancel would.
template <class T>
void RejectWhenModal() {
    WhenModal<T>([](T* dialog) { dialog->reject(); });
}

}  // namespace keynest_test
