#pragma once

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "platform/HelpViewer.h"

/// Gives `window` the help context `context` for the life of the object,
/// so that F1 in a message box it parents opens the page of the question
/// being asked rather than that of the window.
class CHelpContextScope final {
  public:
    CHelpContextScope(QWidget& window, int context)
        : m_window(&window), m_old(window.property(kHelpContextProperty)) {
        window.setProperty(kHelpContextProperty, context);
    }
    ~CHelpContextScope() {
        if (m_window) m_window->setProperty(kHelpContextProperty, m_old);
    }
    CHelpContextScope(const CHelpContextScope&) = delete;
    CHelpContextScope& operator=(const CHelpContextScope&) = delete;

  private:
    QPointer<QWidget> m_window;
    QVariant m_old;
};
