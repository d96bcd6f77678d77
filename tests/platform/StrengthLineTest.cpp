// The strength line under a password box follows what is typed and is read
// to screen readers with the box.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "platform/StrengthLine.h"

namespace {

TEST(StrengthLineTest, FollowsTypingAndJoinsTheBoxDescription) {
    QWidget parent;
    auto* box = new QLineEdit(&parent);
    box->setAccessibleDescription(QStringLiteral("Type it twice."));
    const CStrengthLine line(*box, &parent);
    EXPECT_TRUE(line.text().isEmpty());

    QString previous;
    for (const QChar typed : QStringLiteral("passw")) {
        QTest::keyClick(box, typed.toLatin1());
        EXPECT_TRUE(line.text().startsWith(u"Strength: poor, ")) << line.text().toStdString();
        EXPECT_NE(line.text(), previous);  // the bits move with every key
        EXPECT_EQ(box->accessibleDescription(), QStringLiteral("Type it twice. ") + line.text());
        previous = line.text();
    }
    box->setText(QStringLiteral("q7#Vx!m2Lp@9zR4w-Kd8&"));
    EXPECT_TRUE(line.text().contains(u"excellent") || line.text().contains(u"good"))
        << line.text().toStdString();
    box->clear();
    EXPECT_TRUE(line.text().isEmpty());
    EXPECT_EQ(box->accessibleDescription(), QStringLiteral("Type it twice."));
}

}  // namespace
