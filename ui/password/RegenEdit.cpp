#include "ui/password/RegenEdit.h"

#include <QKeyEvent>
#include <utility>

#include "platform/TextBytes.h"
#include "vault/ItemList.h"

namespace {

bool IsRegenKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_F3 && event->modifiers() == Qt::NoModifier;
}

}  // namespace

CRegenEdit::CRegenEdit(std::function<std::string()> regenerate, QWidget* parent)
    : QLineEdit(parent), m_regenerate(std::move(regenerate)) {}

void CRegenEdit::Regenerate() {
    if (!m_regenerate) return;
    std::string fresh = m_regenerate();
    if (fresh.empty()) return;  // the generator's caller has said why
    setText(FromBytes(fresh));
    WipeString(fresh);
}

bool CRegenEdit::event(QEvent* event) {
    // Claim F3 before any shortcut can: in this box it means "another one".
    if (event->type() == QEvent::ShortcutOverride && IsRegenKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CRegenEdit::keyPressEvent(QKeyEvent* event) {
    if (IsRegenKey(event)) {
        Regenerate();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
