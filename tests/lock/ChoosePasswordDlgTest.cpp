// The choose-password dialog driven through its real widgets: the order of
// its rules with their texts, the complexity question, the help button and
// the 16-byte limit while typing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ChoosePasswordDlg.h"
#include "FakeServices.h"

namespace {

const QString kComplexityQuestion = QStringLiteral(
    "Your chosen password is either...\n\n   all numeric\n   all alpha\n   less than 8 "
    "characters\n\nA more complex password would be\nbetter than the one you have chosen. "
    "\n\nWould you like to improve yours?\n\n(Click No to use as-is.)");

std::string FullSet() {
    std::string set;
    for (char c = '!'; c <= '~'; ++c) set.push_back(c);
    return set;
}

class ChoosePasswordDlgTest : public ::testing::Test {
  protected:
    explicit ChoosePasswordDlgTest(const std::string& charSet = FullSet())
        : dlg(fakes.AsServices(), charSet) {}

    template <typename T>
    T* Find(const char* name) {
        T* widget = dlg.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* First() { return Find<QLineEdit>("firstEdit"); }
    QLineEdit* Second() { return Find<QLineEdit>("secondEdit"); }

    // Fills both boxes and presses OK; true when the dialog ended with OK.
    bool Submit(const QString& first, const QString& second) {
        dlg.show();
        First()->setText(first);
        Second()->setText(second);
        dlg.setResult(0);
        Find<QPushButton>("okButton")->click();
        return !dlg.isVisible() && dlg.result() == QDialog::Accepted;
    }

    // Types `text` key by key, as a user would.
    static void Type(QWidget* widget, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &release);
        }
    }

    keynest_test::FakeServices fakes;
    CChoosePasswordDlg dlg;
};

struct RuleCase {
    const char* first;
    const char* second;
    const char* message;  // nullptr: the character-set message
};

TEST_F(ChoosePasswordDlgTest, RulesInOrderWithTheirTexts) {
    const QString setMessage =
        QStringLiteral("Please use characters from the following set...\n\n") +
        QString::fromLatin1(FullSet()) + QStringLiteral(" ");
    const RuleCase cases[] = {
        // The set rule comes first, even with the second box empty.
        {"abc\xC3\xA9xyz1", "", nullptr},
        {"", "", "Please type text into the first box. "},
        {"", "Mixed123", "Please type text into the first box. "},
        {"Mixed123", "", "Please type text into the second box. "},
        {"Mixed123", "mixed123", "The two Passwords do not match. "},
    };
    for (const RuleCase& c : cases) {
        fakes.prompter.texts.clear();
        EXPECT_FALSE(Submit(QString::fromUtf8(c.first), QString::fromUtf8(c.second))) << c.first;
        ASSERT_EQ(fakes.prompter.texts.size(), 1) << c.first;
        EXPECT_EQ(fakes.prompter.texts[0], c.message ? QString::fromLatin1(c.message) : setMessage);
        EXPECT_EQ(fakes.prompter.icons.back(), PromptIcon::None);
        EXPECT_TRUE(dlg.isVisible());
    }
    // A character outside the set in the second box alone is caught as well.
    fakes.prompter.texts.clear();
    EXPECT_FALSE(Submit(QStringLiteral("Mixed123"), QStringLiteral("Mixed 123")));
    EXPECT_EQ(fakes.prompter.texts, QStringList{setMessage});

    fakes.prompter.texts.clear();
    EXPECT_TRUE(Submit(QStringLiteral("Mixed123"), QStringLiteral("Mixed123")));
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());
    EXPECT_EQ(dlg.FirstEntry(), "Mixed123");
    EXPECT_EQ(dlg.SecondEntry(), "Mixed123");
}

TEST_F(ChoosePasswordDlgTest, SimplePasswordsBringTheComplexityQuestion) {
    for (const char* simple : {"abcdef", "ABCDEFGHIJKL", "12345678", "ab1!xyz"}) {
        fakes.prompter.texts.clear();
        fakes.prompter.answers = {kPromptYes};
        EXPECT_FALSE(Submit(QString::fromLatin1(simple), QString::fromLatin1(simple))) << simple;
        EXPECT_EQ(fakes.prompter.texts, QStringList{kComplexityQuestion}) << simple;
        EXPECT_EQ(fakes.prompter.icons.back(), PromptIcon::Question);
        // Yes returns to the dialog with the entries as they were.
        EXPECT_EQ(First()->text(), QString::fromLatin1(simple));
        EXPECT_EQ(Second()->text(), QString::fromLatin1(simple));

        // No (the default answer) takes the password as it is.
        Find<QPushButton>("okButton")->click();
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << simple;
        EXPECT_EQ(dlg.FirstEntry(), simple);
    }
    // A message box closed unanswered counts as "not Yes".
    fakes.prompter.answers = {kPromptDismissed};
    EXPECT_TRUE(Submit(QStringLiteral("abcdefgh"), QStringLiteral("abcdefgh")));
}

TEST_F(ChoosePasswordDlgTest, NoteHelpAndTitles) {
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Choose the Keynest Password"));
    QStringList labels;
    for (const QLabel* label : dlg.findChildren<QLabel*>()) labels << label->text();
    for (const char* text : {"Choose an UnLock Password", "Enter Password Again",
                             "A password can be\n16 characters max."}) {
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    }
    auto* note = Find<QLabel>("charSetNote");
    EXPECT_EQ(note->text(),
              QStringLiteral("The characters must be from the presently defined set."));
    dlg.show();
    EXPECT_TRUE(note->isVisible());
    EXPECT_FALSE(Find<QLabel>("byteLimitNote")->isVisible());
    dlg.hide();
    dlg.SetFirstUse(true);
    dlg.show();
    EXPECT_FALSE(note->isVisible());

    Find<QPushButton>("helpButton")->click();
    EXPECT_EQ(fakes.help.contexts, std::vector<int>{0x20086});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(Find<QPushButton>("okButton")->isDefault());
}

TEST_F(ChoosePasswordDlgTest, SixteenByteLimitWhileTyping) {
    dlg.show();
    auto* limitNote = Find<QLabel>("byteLimitNote");
    Type(First(), QString(16, QLatin1Char('a')));
    EXPECT_EQ(First()->text().size(), 16);
    EXPECT_FALSE(limitNote->isVisible());
    Type(First(), QStringLiteral("b"));
    EXPECT_EQ(First()->text(), QString(16, QLatin1Char('a')));
    EXPECT_TRUE(limitNote->isVisible());
    EXPECT_EQ(limitNote->text(),
              QStringLiteral("A password holds at most 16 bytes; accented letters count as two."));

    // Accented letters take two bytes each: eight fit, the ninth does not,
    // and a two-byte letter after 15 plain ones is refused as a whole.
    const QString e = QStringLiteral("\u00E9");
    Type(Second(), e.repeated(9));
    EXPECT_EQ(Second()->text(), e.repeated(8));
    Second()->clear();
    Type(Second(), QString(15, QLatin1Char('x')) + e + QStringLiteral("y"));
    EXPECT_EQ(Second()->text(), QString(15, QLatin1Char('x')) + QStringLiteral("y"));

    // A pasted text that would not fit is refused too, not cut.
    First()->clear();
    First()->insert(QString(17, QLatin1Char('z')));
    EXPECT_TRUE(First()->text().isEmpty());
}

class ChoosePasswordDlgWideSetTest : public ChoosePasswordDlgTest {
  protected:
    ChoosePasswordDlgWideSetTest() : ChoosePasswordDlgTest(FullSet() + "\xC3\xA9") {}
};

TEST_F(ChoosePasswordDlgWideSetTest, EntriesAreUtf8Bytes) {
    // A set that holds the two bytes of "é" lets it through byte by byte.
    const QString password = QStringLiteral("caf\u00E9-Bar9");
    EXPECT_TRUE(Submit(password, password));
    EXPECT_EQ(dlg.FirstEntry(), "caf\xC3\xA9-Bar9");
    EXPECT_EQ(dlg.SecondEntry(), "caf\xC3\xA9-Bar9");
}

}  // namespace
