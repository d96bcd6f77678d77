// The Item dialog: its checks in order, the note on the 16-byte Password,
// overlong loaded values and Copy.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include "FakeServices.h"
#include "ui/items/ItemDlg.h"
#include "ModalDriver.h"
#include "settings/Preferences.h"
#include "TestSupport.h"

using namespace keynest_test;

namespace {

const QString kSetQuestionTemplate = QStringLiteral(
    "Your preferred character set is...\n\n%1\n\nAt least one character in your chosen\npassword "
    "is not in that preferred set.\n\nDo you want to use %2\nas this item's password?");
class ItemDlgTest : public ::testing::Test, protected TempStore {
  protected:
    void SetUp() override { prefs.pwdChars = FullCharSet(); }
    std::unique_ptr<CItemDlg> MakeDialog(bool editMode, const std::string& password = {},
                                         const std::string& note = {}) {
        auto dialog = std::make_unique<CItemDlg>(fakes.AsServices(), m_store, prefs);
        dialog->SetEditMode(editMode);
        dialog->SetText(kColLocation, "Bank");
        dialog->SetText(kColNote, note);
        dialog->SetText(kColPassword, password);
        dialog->show();
        return dialog;
    }

    Preferences prefs;
    FakeServices fakes;
};

TEST_F(ItemDlgTest, ValidateFieldsChecksInOrder) {
    prefs.pwdChars = kEasyUpperCharSet;
    const QString setQuestion =
        kSetQuestionTemplate.arg(QLatin1String(kEasyUpperCharSet), QStringLiteral("ABc"));
    const struct {
        const char* location;
        const char* password;
        int answer;  // to the set question, when it comes
        bool expected;
        QString message;
    } cases[] = {
        {"   ", "ABC", 0, true, {}},
        {"", "", 0, false, QStringLiteral("Please type text into the Location box. ")},
        {"Bank", "", 0, false, QStringLiteral("Please type text into the Password box. ")},
        {"Bank", "ABc", kPromptYes, true, setQuestion},
        {"Bank", "ABc", kPromptNo, false, setQuestion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.location + std::string("/") + c.password);
        auto dialog = MakeDialog(false);
        Box(dialog.get(), "locationEdit")->setText(QString::fromUtf8(c.location));
        Box(dialog.get(), "passwordEdit")->setText(QString::fromUtf8(c.password));

        fakes.prompter.texts.clear();
        EXPECT_EQ(dialog->SaveSilently(), c.expected && c.message.isEmpty());
        EXPECT_TRUE(fakes.prompter.texts.isEmpty());

        fakes.prompter.answers = {c.answer};
        EXPECT_EQ(dialog->ValidateFields(true), c.expected);
        EXPECT_EQ(dialog->Text(kColLocation), c.location);
        EXPECT_EQ(fakes.prompter.texts,
                  c.message.isEmpty() ? QStringList() : QStringList{c.message});
    }
}

TEST_F(ItemDlgTest, PasswordHoldsSixteenBytesAndSaysSo) {
    auto dialog = MakeDialog(false);
    QLineEdit* password = Box(dialog.get(), "passwordEdit");
    auto* note = dialog->findChild<QLabel*>(QStringLiteral("passwordLimitLabel"));
    ASSERT_NE(note, nullptr);

    QTest::keyClicks(password, QStringLiteral("abcdefghijklmnop"));
    EXPECT_FALSE(note->isVisible());
    QTest::keyClicks(password, QStringLiteral("q"));
    EXPECT_EQ(password->text(), QStringLiteral("abcdefghijklmnop"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(dialog->ValidateFields(true));
    EXPECT_EQ(dialog->Text(kColPassword).size(), 16u);

    // The box takes no more (the limit itself is the password boxes' own);
    // the note goes with the excess.
    password->backspace();
    EXPECT_FALSE(note->isVisible());
}

TEST_F(ItemDlgTest, OverlongLoadedValuesAreShownWholeAndRefusedOnOk) {
    const std::string longNote(301, 'n');
    auto dialog = MakeDialog(false, "ABC", longNote);
    EXPECT_EQ(Box(dialog.get(), "noteEdit")->text().size(), 301);

    Press(dialog.get(), "okButton");
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(fakes.prompter.texts.size(), 1);
    EXPECT_TRUE(fakes.prompter.texts[0].contains(QStringLiteral("Note")));
    EXPECT_EQ(dialog->Text(kColNote), longNote);

    Box(dialog.get(), "noteEdit")->backspace();
    Box(dialog.get(), "passwordEdit")->setText(QStringLiteral("0123456789abcdefg"));  // 17 bytes
    EXPECT_FALSE(dialog->SaveSilently());
    Press(dialog.get(), "okButton");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(fakes.prompter.texts.last().contains(QStringLiteral("at most 16 bytes")));
}

TEST_F(ItemDlgTest, CopyButtonAndCopyKeyPutExactlyThePasswordThroughTheClipboard) {
    auto dialog = MakeDialog(false, "saved");
    Box(dialog.get(), "passwordEdit")->setText(QStringLiteral("p\u00E4ss"));
    Press(dialog.get(), "copyPasswordButton");
    EXPECT_EQ(fakes.clipboard.text, "p\xC3\xA4ss");

    Box(dialog.get(), "passwordEdit")->clear();
    Press(dialog.get(), "copyPasswordButton");
    EXPECT_EQ(fakes.clipboard.text, "");
    EXPECT_EQ(fakes.clipboard.copies, 2);

    // The copy key in the Password box goes the same way; in the other boxes it copies as usual.
    for (const char* box : {"passwordEdit", "locationEdit"}) {
        Box(dialog.get(), box)->setText(QStringLiteral("typed"));
        Box(dialog.get(), box)->selectAll();
        QTest::keySequence(Box(dialog.get(), box), QKeySequence::Copy);
    }
    EXPECT_EQ(fakes.clipboard.copies, 3);
    EXPECT_EQ(fakes.clipboard.text, "typed");
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());
}

}  // namespace
