#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

/// A single-line box that fills itself with a fresh password when F3 is
/// pressed in it. Every other key keeps its ordinary handling.
class CRegenEdit final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRegenEdit)

  public:
    /// `regenerate` gives the new password (UTF-8 bytes); called at each F3.
    explicit CRegenEdit(std::function<std::string()> regenerate, QWidget* parent = nullptr);

    /// Replaces the whole text with a new password.
    void Regenerate();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::function<std::string()> m_regenerate;
};
