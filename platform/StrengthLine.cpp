#include "platform/StrengthLine.h"

#include <QLineEdit>
#include <cmath>
#include <string>

#include "health/PasswordStrength.h"
#include "platform/TextBytes.h"
#include "vault/ItemList.h"

QString StrengthSummary(const PasswordStrength& strength) {
    return QStringLiteral("%1, %2 bits")
        .arg(QString::fromLatin1(StrengthWordText(strength.word)))
        .arg(std::lround(strength.bits));
}

CStrengthLine::CStrengthLine(QLineEdit& box, QWidget* parent)
    : QLabel(parent), m_box(box), m_baseDescription(box.accessibleDescription()) {
    setObjectName(box.objectName() + QStringLiteral("Strength"));
    // Plain text: nothing typed may be read as markup.
    setTextFormat(Qt::PlainText);
    connect(&box, &QLineEdit::textChanged, this, &CStrengthLine::Update);
    Update(box.text());
}

void CStrengthLine::Update(const QString& text) {
    QString line;
    if (!text.isEmpty()) {
        std::string bytes = ToBytes(text);
        line = QStringLiteral("Strength: ") + StrengthSummary(EstimateStrength(bytes));
        WipeString(bytes);
    }
    setText(line);
    QString description = m_baseDescription;
    if (!description.isEmpty() && !line.isEmpty()) description += QLatin1Char(' ');
    m_box.setAccessibleDescription(description + line);
}
