#include "lock/LockPasses.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QWidget>

#include "platform/AppTitle.h"
#include "lock/AutoSaveDialog.h"

namespace {

// Guarded copies: ending one dialog may delete another (or itself) before
// the loop reaches it.
QList<QPointer<QWidget>> VisibleTopLevels(const QWidget* mainFrame) {
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != mainFrame && widget->isVisible() && !widget->windowTitle().isEmpty()) {
            windows.append(widget);
        }
    }
    return windows;
}

}  // namespace

int DismissMessageBoxes(const QWidget* mainFrame) {
    int dismissed = 0;
    for (const QPointer<QWidget>& window : VisibleTopLevels(mainFrame)) {
        auto* dialog = qobject_cast<QDialog*>(window.data());
        if (dialog == nullptr || !dialog->isVisible() || dialog->windowTitle() != AppTitle()) continue;
        dialog->done(-1);
        ++dismissed;
    }
    return dismissed;
}

int CloseOrSaveDialogs(const QWidget* mainFrame, int saveCancel) {
    int handled = 0;
    for (const QPointer<QWidget>& window : VisibleTopLevels(mainFrame)) {
        if (window.isNull() || !window->isVisible()) continue;
        const QString title = window->windowTitle();
        if (!title.contains(AppTitle(), Qt::CaseSensitive)) continue;
        if (title.contains(QStringLiteral("Microsoft Visual C++"))) continue;
        const QString upper = title.toUpper();
        if (upper.contains(QStringLiteral("KEYNEST."))) continue;
        const bool itemDialog =
            upper.contains(QStringLiteral("ADD KEYNEST")) || upper.contains(QStringLiteral("EDIT KEYNEST"));
        if (itemDialog && saveCancel == 1) {
            // A window of ours titled like an Item dialog that cannot save
            // itself is closed like any other.
            auto* saver = dynamic_cast<IAutoSaveDialog*>(window.data());
            if (saver != nullptr && saver->SaveSilently()) {
                ++handled;
                continue;
            }
        }
        // A close request ends a dialog as by Cancel; a window that refuses
        // it stays open and the lock goes on.
        if (!window.isNull()) window->close();
        ++handled;
    }
    return handled;
}
