#pragma once

#include <QTextBrowser>

#include "platform/HelpViewer.h"

/// The help pages, shown in a window of their own.
class CHelpWindow final : public QTextBrowser, public IHelpViewer {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    void ShowHelp(int context) override;
    /// The page shown for `context`.
    static QUrl PageFor(int context);
};
