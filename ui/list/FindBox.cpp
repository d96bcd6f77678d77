#include "ui/list/FindBox.h"

#include <QKeyEvent>

#include "contract/Activity.h"
#include "contract/KeynestEvents.h"
#include "ui/list/ItemListModel.h"
#include "ui/list/ItemListView.h"

namespace {

// Command keys a one-line box has no use of its own for, although a text
// box may claim them (Ctrl+E moves to the end of the line on X11): while
// the find box has the focus they stay the commands' keys.
bool IsCommandKeyForFindBox(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35) return true;
    return modifiers == Qt::ControlModifier &&
           (key.key() == Qt::Key_E || key.key() == Qt::Key_I || key.key() == Qt::Key_L);
}

}  // namespace

CFindBox::CFindBox(KeynestContext& context, CItemListView& list, QWidget* parent)
    : QLineEdit(parent), m_list(list) {
    setObjectName(QStringLiteral("findBox"));
    setPlaceholderText(QStringLiteral("Find: Location, URL, User ID or Hint"));
    setAccessibleName(QStringLiteral("Find"));
    setAccessibleDescription(
        QStringLiteral("Shows only the Items whose Location, URL, User ID or Hint holds the text"));
    setClearButtonEnabled(true);
    // Reached by Ctrl+F or a click only: the list keeps the focus, so that
    // keys such as Ctrl+A and Del go to the Item commands and not the box.
    setFocusPolicy(Qt::ClickFocus);

    connect(this, &QLineEdit::textChanged, this, [this, &context](const QString& text) {
        context.activity.SignalActivity();
        m_list.SetFindText(text);
    });
    connect(this, &QLineEdit::returnPressed, &m_list, [this] { m_list.setFocus(); });
    connect(&m_list, &CItemListView::ShownRowsChanged, this, [this] {
        Q_EMIT FindStatusChanged(m_list.IsFiltering()
                                     ? QStringLiteral("%1 of %2 Items shown")
                                           .arg(m_list.ShownRowCount())
                                           .arg(m_list.Model().RowCount())
                                     : QString());
    });
    connect(&context.events, &CKeynestEvents::LockStateChanged, this, &QWidget::setEnabled);
    connect(&context.events, &CKeynestEvents::ShowEveryItem, this, &QLineEdit::clear);
}

void CFindBox::OnFind() {
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

bool CFindBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        IsCommandKeyForFindBox(*static_cast<QKeyEvent*>(event))) {
        // Not claimed by the box: the shortcut goes to its command.
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void CFindBox::keyPressEvent(QKeyEvent* event) {
    // Escape shows every Item again.
    if (event->key() == Qt::Key_Escape) {
        clear();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
