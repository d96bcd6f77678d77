#pragma once

#include <QLabel>
#include <QString>

struct PasswordStrength;
class QLineEdit;

/// "weak, 34 bits": a password's estimated strength as the program shows it.
QString StrengthSummary(const PasswordStrength& strength);

/// The line under a password box that shows the estimated strength of what
/// is typed, kept up to date as the text changes; empty while the box is.
/// Screen readers get it as part of the box's description, after whatever
/// description the box had before.
class CStrengthLine final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CStrengthLine)

  public:
    CStrengthLine(QLineEdit& box, QWidget* parent);

  private:
    void Update(const QString& text);

    QLineEdit& m_box;
    QString m_baseDescription;
};
