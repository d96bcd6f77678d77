// The choose-password dialog driven through its real widgets: the order of
// its rules with their texts, the complexity question, the help button and
// the 16-byte limit while typing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "lock/ChoosePasswordDlg.h"
#include "FakeServices.h"
#include "ModalDriver.h"
#include "settings/Preferences.h"

namespace {

using keynest_test::Box;
using keynest_test::Child;
using keynest_test::Press;

const QString kComplexityQuestion = QStringLiteral(
    "Your chosen password is either...\n\n   all numeric\n   all alpha\n   less than 8 "
    "characters\n\nA more complex password would be\nbetter than the one you have chosen. "
    "\n\nWould you like to improve yours?\n\n(Click No to use as-is.)");

class ChoosePasswordDlgTest : public ::testing::Test {
  protected:
    QLineEdit* First() { return Box(&dlg, "firstEdit"); }
    QLineEdit* Second() { return Box(&dlg, "secondEdit"); }

    // Fills both boxes and presses OK; true when the dialog ended with OK.
    bool Submit(const QString& first, const QString& second) {
        dlg.show();
        First()->setText(first);
        Second()->setText(second);
        dlg.setResult(0);
        Press(&dlg, "okButton");
        return !dlg.isVisible() && dlg.result() == QDialog::Accepted;
    }

    // Types `text` key by key, as a user would.
    static void Type(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
        }
    }

    keynest_test::FakeServices fakes;
    CChoosePasswordDlg dlg{fakes.AsServices(), FullCharSet()};
};

TEST_F(ChoosePasswordDlgTest, RulesInOrderWithTheirTexts) {
    const QString setMessage =
        QStringLiteral("Please use characters from the following set...\n\n") +
        QString::fromLatin1(FullCharSet()) + QStringLiteral(" ");
    const struct {
        const char* first;
        const char* second;
        const char* message;  // nullptr: the character-set message
    } cases[] = {
        // The set rule comes first, even with the second box empty.
        {"abc\xC3\xA9xyz1", "", nullptr},
        {"", "", "Please type text into the first box. "},
        {"", "Mixed123", "Please type text into the first box. "},
        {"Mixed123", "", "Please type text into the second box. "},
        {"Mixed123", "mixed123", "The two Passwords do not match. "},
        // A character outside the set in the second box alone is caught too.
        {"Mixed123", "Mixed 123", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "/" + c.second);
        fakes.prompter.texts.clear();
        EXPECT_FALSE(Submit(QString::fromUtf8(c.first), QString::fromUtf8(c.second)));
        const QString expected = c.message ? QString::fromLatin1(c.message) : setMessage;
        EXPECT_EQ(fakes.prompter.texts, QStringList{expected});
        EXPECT_EQ(fakes.prompter.icons.back(), PromptIcon::None);
        EXPECT_TRUE(dlg.isVisible());
    }
    fakes.prompter.texts.clear();
    EXPECT_TRUE(Submit(QStringLiteral("Mixed123"), QStringLiteral("Mixed123")));
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());
    EXPECT_EQ(dlg.FirstEntry(), "Mixed123");
    EXPECT_EQ(dlg.SecondEntry(), "Mixed123");
}

TEST_F(ChoosePasswordDlgTest, SimplePasswordsBringTheComplexityQuestion) {
    for (const char* simple : {"abcdef", "ABCDEFGHIJKL", "12345678", "ab1!xyz"}) {
        SCOPED_TRACE(simple);
        fakes.prompter.texts.clear();
        fakes.prompter.answers = {kPromptYes};
        EXPECT_FALSE(Submit(QString::fromLatin1(simple), QString::fromLatin1(simple)));
        EXPECT_EQ(fakes.prompter.texts, QStringList{kComplexityQuestion});
        EXPECT_EQ(fakes.prompter.icons.back(), PromptIcon::Question);
        // Yes returns to the dialog with the entries as they were.
        EXPECT_EQ(First()->text(), QString::fromLatin1(simple));
        EXPECT_EQ(Second()->text(), QString::fromLatin1(simple));
        // No (the default answer) takes the password as it is.
        Press(&dlg, "okButton");
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(dlg.FirstEntry(), simple);
    }
    // A message box closed unanswered counts as "not Yes".
    fakes.prompter.answers = {kPromptDismissed};
    EXPECT_TRUE(Submit(QStringLiteral("abcdefgh"), QStringLiteral("abcdefgh")));
}

TEST_F(ChoosePasswordDlgTest, SixteenByteLimitWhileTyping) {
    dlg.show();
    auto* limitNote = Child<QLabel>(&dlg, "byteLimitNote");
    Type(First(), QString(16, QLatin1Char('a')));
    EXPECT_EQ(First()->text().size(), 16);
    EXPECT_FALSE(limitNote->isVisible());
    Type(First(), QStringLiteral("b"));
    EXPECT_EQ(First()->text(), QString(16, QLatin1Char('a')));
    EXPECT_TRUE(limitNote->isVisible());

    // A two-byte letter after 15 plain ones is refused as a whole.
    const QString e = QStringLiteral("\u00E9");
    Type(Second(), QString(15, QLatin1Char('x')) + e + QStringLiteral("y"));
    EXPECT_EQ(Second()->text(), QString(15, QLatin1Char('x')) + QStringLiteral("y"));
}

}  // namespace
