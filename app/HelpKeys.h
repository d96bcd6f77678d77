#pragma once

#include <QObject>

class IHelpViewer;
class QWidget;

/// The help keys in every window of the program, modal dialogs and message
/// boxes included: F1 (Help) opens the page of the active window, Shift+F1
/// (Context Help) lets the user click a control to learn what it does.
/// A window names its page with the property kHelpContextProperty; windows
/// without one open the contents (Default Help).
class CHelpKeys final : public QObject {
    Q_OBJECT

  public:
    /// Watches every key press of the application from now on.
    CHelpKeys(IHelpViewer& help, QObject* parent = nullptr);
    ~CHelpKeys() override;

    /// The help context of `window`: its own, that of the nearest parent
    /// window that names one, or the contents.
    static int ContextOf(const QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    IHelpViewer& m_help;
};
