#include "app/MenuItemNames.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QMenu>
#include <QPointer>

namespace {

// What Qt's own menu item gives a screen reader, with the name cut at the tab.
class CMenuItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    CMenuItemAccessible(QMenu* menu, QAction* action) : m_menu(menu), m_action(action) {}

    bool isValid() const override { return !m_menu.isNull() && !m_action.isNull(); }
    QObject* object() const override { return m_action; }
    QWindow* window() const override {
        if (m_menu.isNull()) return nullptr;
        const QWidget* native = m_menu->windowHandle() ? m_menu : m_menu->nativeParentWidget();
        return native ? native->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_menu.data());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QString text(QAccessible::Text type) const override {
        if (m_action.isNull()) return {};
        switch (type) {
            case QAccessible::Name:
                return CommandName(m_action->text());
            case QAccessible::Accelerator:
                return KeyText();
            case QAccessible::Description: {
                // Only a prompt that says more than the name itself.
                const QString name = CommandName(m_action->text()).remove(QStringLiteral("..."));
                return m_action->statusTip() == name ? QString() : m_action->statusTip();
            }
            default:
                return {};
        }
    }
    void setText(QAccessible::Text /*type*/, const QString& /*text*/) override {}

    QRect rect() const override {
        if (!isValid()) return {};
        return m_menu->actionGeometry(m_action).translated(m_menu->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override {
        return !m_action.isNull() && m_action->isSeparator() ? QAccessible::Separator
                                                             : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invisible = true;
            return state;
        }
        state.invisible = !m_menu->isVisible() || !m_action->isVisible();
        state.focused = m_menu->activeAction() == m_action;
        state.focusable = m_action->isEnabled();
        state.disabled = !m_action->isEnabled();
        state.checkable = m_action->isCheckable();
        state.checked = m_action->isChecked();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override {
        if (!isValid() || !m_action->isEnabled()) return {};
        return {pressAction()};
    }
    void doAction(const QString& name) override {
        if (name != pressAction() || !isValid() || !m_action->isEnabled()) return;
        // As a click would: the menu closes before the command runs.
        m_menu->hide();
        m_action->trigger();
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        const QString key = KeyText();
        if (name != pressAction() || key.isEmpty()) return {};
        return {key};
    }

  private:
    // The real shortcut, else the mnemonic; never the key a text only names.
    QString KeyText() const {
        if (m_action.isNull()) return {};
        const QKeySequence key = m_action->shortcut().isEmpty()
                                     ? QKeySequence::mnemonic(m_action->text())
                                     : m_action->shortcut();
        return key.toString(QKeySequence::NativeText);
    }

    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
};

QAccessibleInterface* MenuItemFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QAction")) return nullptr;
    auto* action = qobject_cast<QAction*>(object);
    if (action == nullptr || !action->text().contains(QLatin1Char('\t'))) return nullptr;
    for (QObject* owner : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner)) return new CMenuItemAccessible(menu, action);
    }
    return nullptr;
}

}  // namespace

QString CommandName(const QString& menuText) {
    const QString beforeTab = menuText.section(QLatin1Char('\t'), 0, 0);
    QString name;
    name.reserve(beforeTab.size());
    for (qsizetype i = 0; i < beforeTab.size(); ++i) {
        // "&&" stands for one "&"; a single one marks the mnemonic.
        if (beforeTab.at(i) == QLatin1Char('&') && ++i == beforeTab.size()) break;
        name += beforeTab.at(i);
    }
    return name;
}

void InstallMenuItemNames() { QAccessible::installFactory(&MenuItemFactory); }
