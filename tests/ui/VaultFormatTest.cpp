// The vault's format on the desktop: the password boxes, the Item form and
// the generated Length follow it, and the two commands convert between the
// formats after a question, or refuse with the reason.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "ContextFixture.h"
#include "ModalDriver.h"
#include "lock/ChoosePasswordDlg.h"
#include "lock/UnlockDlg.h"
#include "platform/HelpViewer.h"
#include "ui/format/VaultFormatCommands.h"
#include "ui/items/ItemDlg.h"
#include "ui/password/MakePassword.h"
#include "ui/preferences/PreferencesDlg.h"
#include "ui/preferences/RangeSpinBox.h"

using namespace keynest_test;

namespace {

// Cheap Argon2id parameters: the tests need the format, not its cost.
constexpr KdfParams kTestKdf{64, 1, 1};

class VaultFormatTest : public ::testing::Test, protected ContextFixture {
  protected:
    VaultFormatTest() {
        m_prefs.pwdChars = FullCharSet();
        AddRows({"bank", "mail"});
        EXPECT_TRUE(m_vault.SaveAllItems(m_rows));
    }
    void Harden() { ASSERT_TRUE(m_vault.ConvertToHardened(m_rows, kTestKdf)); }
    std::vector<CMemoryItemList::Row> Stored() {
        CMemoryItemList stored;
        EXPECT_TRUE(m_vault.LoadAllItems(stored).ok);
        std::vector<CMemoryItemList::Row> rows;
        for (int row = 0; row < stored.RowCount(); ++row) rows.push_back(stored.RowAt(row));
        return rows;
    }

    CVaultFormatCommands commands{m_context, kTestKdf};
};

// Typing far past the limit leaves as many characters as the format keeps:
// 16 bytes in the classic format (8 accented letters), 300 characters in a
// hardened vault; the notes name the same limit.
TEST_F(VaultFormatTest, PasswordBoxesAndTheItemFormFollowTheFormat) {
    struct Typed {
        char16_t letter;
        int classic;
        int hardened;
    };
    const Typed typings[] = {{u'x', 16, 300}, {u'\u00E4', 8, 300}};
    for (const bool hardened : {false, true}) {
        if (hardened) Harden();
        const PasswordLimit limit = m_vault.PasswordRule();
        CUnlockDlg unlock(m_fakes.prompter);
        CChoosePasswordDlg choose(m_fakes.AsServices(), FullCharSet());
        CItemDlg item(m_fakes.AsServices(), m_store, m_prefs);
        unlock.SetPasswordLimit(limit);
        choose.SetPasswordLimit(limit);
        item.SetPasswordLimit(limit);
        for (QLineEdit* box : {Box(&unlock, "passwordEdit"), Box(&choose, "firstEdit"),
                               Box(&choose, "secondEdit"), Box(&item, "passwordEdit")}) {
            for (const Typed& typed : typings) {
                box->clear();
                // One letter at a time, as typed; insert() validates like a key.
                for (int i = 0; i < 310; ++i) box->insert(QString(QChar(typed.letter)));
                EXPECT_EQ(box->text().size(), hardened ? typed.hardened : typed.classic)
                    << box->objectName().toStdString() << hardened;
            }
        }
        const QString limitNote =
            hardened ? QStringLiteral("A password holds at most 300 characters.")
                     : QStringLiteral("A password holds at most 16 bytes; accented letters count as two.");
        EXPECT_EQ(Child<QLabel>(&choose, "maxNote")->text(),
                  hardened ? QStringLiteral("A password can be\n300 characters max.")
                           : QStringLiteral("A password can be\n16 characters max."));
        EXPECT_EQ(Child<QLabel>(&choose, "byteLimitNote")->text(), limitNote);
        EXPECT_EQ(Child<QLabel>(&item, "passwordLimitLabel")->text(), limitNote);

        // A Length of 40 is kept by a hardened vault and cut to 16 in a classic one.
        m_prefs.length = 40;
        const int generated = hardened ? 40 : 16;
        EXPECT_EQ(GeneratedLength(m_context), static_cast<unsigned>(generated));
        Press(&item, "createPasswordButton");
        EXPECT_EQ(Box(&item, "passwordEdit")->text().size(), generated);
        CPreferencesDlg preferences(m_fakes.AsServices(), m_store, true, nullptr);
        preferences.SetValues(m_prefs);
        preferences.SetMaxLength(MaxGeneratedLength(m_vault));
        preferences.show();
        EXPECT_EQ(Child<CRangeSpinBox>(&preferences, "lengthBox")->value(), generated);
    }
}

TEST_F(VaultFormatTest, HardenAsksWithItsHelpPageAndConvertsKeepingEveryItem) {
    const auto before = Stored();
    QVariant helpDuringQuestion;
    m_fakes.prompter.onShow = [&] { helpDuringQuestion = m_parent.property(kHelpContextProperty); };
    EXPECT_TRUE(commands.CanHarden());
    EXPECT_FALSE(commands.CanUnharden());

    commands.OnHarden();  // answered No
    EXPECT_EQ(m_vault.Format(), VaultFormat::kKeyText);
    EXPECT_EQ(helpDuringQuestion.toInt(), kHelpVaultFormat);
    EXPECT_FALSE(m_parent.property(kHelpContextProperty).isValid());

    m_fakes.prompter.answers = {kPromptYes};
    commands.OnHarden();
    EXPECT_EQ(m_vault.Format(), VaultFormat::kHardened);
    EXPECT_TRUE(m_fakes.prompter.texts.back().startsWith(QStringLiteral("The vault is hardened")));
    EXPECT_FALSE(commands.CanHarden());
    EXPECT_TRUE(commands.CanUnharden());
    EXPECT_EQ(Stored(), before);
    m_vault.Lock();
    EXPECT_FALSE(commands.CanUnharden());
}

// What the classic format cannot hold is refused before any question, with
// the reason; once everything fits, the way back keeps every Item.
TEST_F(VaultFormatTest, BackToClassicRefusesLongPasswordsThenConverts) {
    Harden();
    const std::string longPassword(20, 'p');
    m_rows.SetText(0, kColPassword, longPassword);
    commands.OnUnharden();
    EXPECT_TRUE(m_fakes.prompter.texts.back().contains(QStringLiteral("the Item \"bank\"")));

    m_rows.SetText(0, kColPassword, "pw-bank");
    ASSERT_TRUE(m_vault.ChangePassword(longPassword, m_rows));
    commands.OnUnharden();
    EXPECT_TRUE(m_fakes.prompter.texts.back().startsWith(
        QStringLiteral("The classic format cannot keep your UnLock password")));
    EXPECT_EQ(m_fakes.prompter.texts.size(), 2);  // no question was asked
    EXPECT_EQ(m_vault.Format(), VaultFormat::kHardened);

    ASSERT_TRUE(m_vault.ChangePassword("secret", m_rows));
    const auto before = Stored();
    m_fakes.prompter.answers = {kPromptYes};
    commands.OnUnharden();
    EXPECT_EQ(m_vault.Format(), VaultFormat::kKeyText);
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(commands.CanHarden());
}

}  // namespace
