#pragma once

#include <QString>

class QWidget;

/// Buttons of a message box.
enum class PromptButtons { Ok, YesNo };
/// Icon of a message box.
enum class PromptIcon { None, Information, Warning, Question };

/// Results of a message box, numbered as the dialog results they stand for.
enum PromptResult : int {
    kPromptDismissed = -1,  ///< closed by the inactivity lock, not answered
    kPromptOk = 1,
    kPromptCancel = 2,
    kPromptYes = 6,
    kPromptNo = 7,
};

/// The one place every message box of the program passes through, so that
/// tests can answer prompts and the inactivity lock can find and dismiss them.
class IPrompter {
public:
    virtual ~IPrompter() = default;
    /// Shows `text` captioned "Keynest" modally and returns the answer.
    virtual int Show(const QString& text, PromptButtons buttons, PromptIcon icon) = 0;
};

/// Message boxes shown with QMessageBox, parented to the main window.
class CQtPrompter final : public IPrompter {
public:
    explicit CQtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    int Show(const QString& text, PromptButtons buttons, PromptIcon icon) override;

private:
    QWidget* m_parent;
};
