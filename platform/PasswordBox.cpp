#include "platform/PasswordBox.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QValidator>

#include "platform/Clipboard.h"
#include "platform/TextBytes.h"

namespace {

class CByteLimitValidator final : public QValidator {
  public:
    CByteLimitValidator(const PasswordLimit& limit, QObject* parent)
        : QValidator(parent), m_limit(limit) {}
    State validate(QString& input, int& /*pos*/) const override {
        return FitsPasswordLimit(input, m_limit) ? Acceptable : Invalid;
    }

  private:
    PasswordLimit m_limit;
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

// Takes the box's copy and cut away from QLineEdit, which would put the text
// on the clipboard unmarked and leave it there.
class CSecretCopy final : public QObject {
  public:
    CSecretCopy(QLineEdit& box, IClipboard& clipboard)
        : QObject(&box), m_box(box), m_clipboard(clipboard) {}

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy)) return Copy(false);
            if (key->matches(QKeySequence::Cut)) return Copy(true);
        } else if (event->type() == QEvent::ContextMenu &&
                   m_box.contextMenuPolicy() == Qt::DefaultContextMenu) {
            ShowMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        return false;
    }

  private:
    // Always true: the event is handled, also when nothing is selected.
    bool Copy(bool cut) {
        if (!m_box.hasSelectedText() || m_box.echoMode() != QLineEdit::Normal) return true;
        std::string text = ToBytes(m_box.selectedText());
        m_clipboard.SetText(text);
        WipeString(text);
        if (cut && !m_box.isReadOnly()) m_box.del();
        return true;
    }

    // The box's own menu, whose Cut and Copy entries (known by the key each
    // names after its tab) go through Copy instead.
    void ShowMenu(const QPoint& where) {
        QMenu* menu = m_box.createStandardContextMenu();
        const QString copyKey = KeyText(QKeySequence::Copy);
        const QString cutKey = KeyText(QKeySequence::Cut);
        for (QAction* action : menu->actions()) {
            const QString key = action->text().section(QLatin1Char('\t'), 1);
            if (key.isEmpty() || (key != copyKey && key != cutKey)) continue;
            const bool cut = key == cutKey;
            QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this, cut] { Copy(cut); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(where);
    }

    static QString KeyText(QKeySequence::StandardKey key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    }

    QLineEdit& m_box;
    IClipboard& m_clipboard;
};

}  // namespace

void LimitToPasswordBytes(QLineEdit& box, const PasswordLimit& limit) {
    const QValidator* old = box.validator();
    box.setValidator(new CByteLimitValidator(limit, &box));
    delete old;
}

bool FitsPasswordLimit(const QString& text, const PasswordLimit& limit) {
    return static_cast<std::size_t>(Utf8Length(text)) <= limit.bytes &&
           static_cast<std::size_t>(text.size()) <= limit.chars;
}

QString PasswordLimitNote(const PasswordLimit& limit) {
    // The first format counts bytes, which the user has to be told about;
    // the hardened one counts characters like the other fields.
    if (limit.bytes == kKeyTextPasswordLimit.bytes) {
        return QStringLiteral("A password holds at most 16 bytes; accented letters count as two.");
    }
    return QStringLiteral("A password holds at most %1 characters.").arg(limit.chars);
}

void KeepSelectionPrivate(QLineEdit& box) { box.installEventFilter(new CSelectionGuard(&box)); }

void CopyAsSecret(QLineEdit& box, IClipboard& clipboard) {
    box.setDragEnabled(false);
    box.installEventFilter(new CSecretCopy(box, clipboard));
}

void DropOwnSelection() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->supportsSelection() && clipboard->ownsSelection()) {
        clipboard->clear(QClipboard::Selection);
    }
}
