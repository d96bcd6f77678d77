#include "app/HelpKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWhatsThis>
#include <QWidget>

#include "platform/HelpViewer.h"

CHelpKeys::CHelpKeys(IHelpViewer& help, QObject* parent) : QObject(parent), m_help(help) {
    qApp->installEventFilter(this);
}

CHelpKeys::~CHelpKeys() { qApp->removeEventFilter(this); }

int CHelpKeys::ContextOf(const QWidget* window) {
    for (const QWidget* widget = window; widget; widget = widget->parentWidget()) {
        const QVariant context = widget->property(kHelpContextProperty);
        if (context.isValid()) return context.toInt();
    }
    return kHelpContents;
}

bool CHelpKeys::eventFilter(QObject* watched, QEvent* event) {
    // Key presses reach the filter once for every widget they pass through;
    // only the first one, at a widget, counts.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->isAutoRepeat()) return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ShiftModifier) {
        QWhatsThis::enterWhatsThisMode();
        return true;
    }
    if (modifiers != Qt::NoModifier) return false;
    m_help.ShowHelp(ContextOf(static_cast<QWidget*>(watched)->window()));
    return true;
}
