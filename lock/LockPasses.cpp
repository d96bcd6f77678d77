#include "lock/LockPasses.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QWidget>

#include "contract/AutoSaveDialog.h"
#include "platform/AppTitle.h"

namespace {

// Every window of this process is one the program opened, whatever its
// title: its own dialogs, Qt's printer, preview and file dialogs, the help
// window. Guarded copies: ending one dialog may delete another (or itself)
// before the loop reaches it.
QList<QPointer<QWidget>> VisibleWindows(const QWidget* mainFrame) {
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != mainFrame && widget->isVisible()) windows.append(widget);
    }
    return windows;
}

}  // namespace

int DismissMessageBoxes(const QWidget* mainFrame) {
    int dismissed = 0;
    for (const QPointer<QWidget>& window : VisibleWindows(mainFrame)) {
        auto* dialog = qobject_cast<QDialog*>(window.data());
        if (dialog == nullptr || !dialog->isVisible() || dialog->windowTitle() != AppTitle()) continue;
        dialog->done(-1);
        ++dismissed;
    }
    return dismissed;
}

int CloseOrSaveDialogs(const QWidget* mainFrame, int saveCancel) {
    int handled = 0;
    for (const QPointer<QWidget>& window : VisibleWindows(mainFrame)) {
        // Ending one window may have ended or deleted this one already.
        if (window.isNull() || !window->isVisible()) continue;
        auto* saver = dynamic_cast<IAutoSaveDialog*>(window.data());
        if (saver != nullptr && saveCancel == 1 && saver->SaveSilently()) {
            ++handled;
            continue;
        }
        if (auto* dialog = qobject_cast<QDialog*>(window.data())) {
            // Ends it as by Cancel, also a dialog that would refuse a close
            // request, such as a message box without a Cancel button.
            dialog->done(QDialog::Rejected);
        } else {
            window->close();
        }
        // A window that refuses to close is at least taken off the screen.
        if (!window.isNull() && window->isVisible()) window->hide();
        ++handled;
    }
    return handled;
}
