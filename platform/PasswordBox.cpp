#include "platform/PasswordBox.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>

namespace {

class CByteLimitValidator final : public QValidator {
  public:
    explicit CByteLimitValidator(QObject* parent) : QValidator(parent) {}
    State validate(QString& input, int& /*pos*/) const override {
        QByteArray bytes = input.toUtf8();
        const bool fits = bytes.size() <= kMaxPasswordBytes;
        bytes.fill('\0');
        return fits ? Acceptable : Invalid;
    }
};

// The line edit publishes its selection when a mouse button or key is
// released; the drop runs just after that, from the event loop.
class CSelectionGuard final : public QObject {
  public:
    explicit CSelectionGuard(QObject* parent) : QObject(parent) {}
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyRelease:
            case QEvent::FocusOut:
                QTimer::singleShot(0, this, &DropOwnSelection);
                break;
            default:
                break;
        }
        return false;
    }
};

}  // namespace

void LimitToPasswordBytes(QLineEdit& box) { box.setValidator(new CByteLimitValidator(&box)); }

void KeepSelectionPrivate(QLineEdit& box) { box.installEventFilter(new CSelectionGuard(&box)); }

void DropOwnSelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && clipboard->ownsSelection()) {
        clipboard->clear(QClipboard::Selection);
    }
}
