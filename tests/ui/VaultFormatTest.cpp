// The vault's format on the desktop: the password boxes, the Item form and
// the generated Length follow it; the two commands convert after a question
// or refuse with the reason.

#include <gtest/gtest.h>

#include <QLabel>

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

constexpr KdfParams kTestKdf{64, 1, 1};  // the format matters here, not its cost

class VaultFormatTest : public ::testing::Test, protected ContextFixture {
  protected:
    VaultFormatTest() {
        m_prefs.pwdChars = FullCharSet();
        AddRows({"bank", "mail"});
        EXPECT_TRUE(m_vault.SaveAllItems(m_rows));
    }
    std::vector<CMemoryItemList::Row> Stored() {
        CMemoryItemList stored;
        EXPECT_TRUE(m_vault.LoadAllItems(stored).ok);
        std::vector<CMemoryItemList::Row> rows;
        for (int row = 0; row < stored.RowCount(); ++row) rows.push_back(stored.RowAt(row));
        return rows;
    }

    CVaultFormatCommands commands{m_context, kTestKdf};
};

// Typed one letter at a time far past the limit, a box keeps 16 bytes in
// the classic format (8 accented letters) and 300 characters in a hardened
// vault; the notes and the generated Length follow.
TEST_F(VaultFormatTest, PasswordBoxesTheItemFormAndTheLengthFollowTheFormat) {
    for (const bool hardened : {false, true}) {
        if (hardened) {
            ASSERT_TRUE(m_vault.ConvertToHardened(m_rows, kTestKdf));
        }
        const PasswordLimit limit = m_vault.PasswordRule();
        CUnlockDlg unlock(m_fakes.prompter);
        CChoosePasswordDlg choose(m_fakes.AsServices(), FullCharSet());
        CItemDlg item(m_fakes.AsServices(), m_store, m_prefs);
        unlock.SetPasswordLimit(limit);
        choose.SetPasswordLimit(limit);
        item.SetPasswordLimit(limit);
        for (QLineEdit* box : {Box(&unlock, "passwordEdit"), Box(&choose, "firstEdit"),
                               Box(&choose, "secondEdit"), Box(&item, "passwordEdit")}) {
            for (const auto& [letter, classic] : {std::pair{u'x', 16}, std::pair{u'\u00E4', 8}}) {
                box->clear();
                for (int i = 0; i < 310; ++i) box->insert(QString(QChar(letter)));
                EXPECT_EQ(box->text().size(), hardened ? 300 : classic) << hardened;
            }
        }
        const QString note = hardened ? QStringLiteral("A password holds at most 300 characters.")
                                      : QStringLiteral(
                                            "A password holds at most 16 bytes; accented "
                                            "letters count as two.");
        EXPECT_EQ(Child<QLabel>(&choose, "maxNote")->text(),
                  QStringLiteral("A password can be\n%1 characters max.").arg(hardened ? 300 : 16));
        EXPECT_EQ(Child<QLabel>(&choose, "byteLimitNote")->text(), note);
        EXPECT_EQ(Child<QLabel>(&item, "passwordLimitLabel")->text(), note);

        m_prefs.length = 40;  // kept by a hardened vault, cut to 16 in a classic one
        const int length = hardened ? 40 : 16;
        EXPECT_EQ(GeneratedLength(m_context), static_cast<unsigned>(length));
        Press(&item, "createPasswordButton");
        EXPECT_EQ(Box(&item, "passwordEdit")->text().size(), length);
        CPreferencesDlg preferences(m_fakes.AsServices(), m_store, true, nullptr);
        preferences.SetValues(m_prefs);
        preferences.SetMaxLength(m_vault.MaxGeneratedLength());
        preferences.show();
        EXPECT_EQ(Child<CRangeSpinBox>(&preferences, "lengthBox")->value(), length);
    }
}

TEST_F(VaultFormatTest, CommandsAskThenConvertBothWaysOrSayWhatClassicCannotHold) {
    const auto before = Stored();
    const QStringList& texts = m_fakes.prompter.texts;
    QVariant help;
    m_fakes.prompter.onShow = [&] { help = m_parent.property(kHelpContextProperty); };
    commands.OnHarden();  // answered No
    EXPECT_EQ(help.toInt(), kHelpVaultFormat);
    EXPECT_FALSE(m_parent.property(kHelpContextProperty).isValid());
    m_fakes.prompter.answers = {kPromptYes};
    commands.OnHarden();
    ASSERT_EQ(m_vault.Format(), VaultFormat::kHardened);
    EXPECT_TRUE(texts.back().startsWith(QStringLiteral("The vault is hardened")));
    EXPECT_EQ(std::pair(commands.CanHarden(), commands.CanUnharden()), std::pair(false, true));

    // What the classic format cannot hold is refused before any question.
    m_rows.SetText(0, kColPassword, std::string(20, 'p'));
    commands.OnUnharden();
    EXPECT_TRUE(texts.back().contains(QStringLiteral("the Item \"bank\"")));
    m_rows.SetText(0, kColPassword, "pw-bank");
    ASSERT_TRUE(m_vault.ChangePassword(std::string(20, 'u'), m_rows));
    commands.OnUnharden();
    EXPECT_TRUE(
        texts.back().startsWith(QStringLiteral("The classic format cannot keep your UnLock")));
    EXPECT_EQ(texts.size(), 5);

    ASSERT_TRUE(m_vault.ChangePassword("secret", m_rows));
    m_fakes.prompter.answers = {kPromptYes};
    commands.OnUnharden();
    EXPECT_EQ(m_vault.Format(), VaultFormat::kKeyText);
    EXPECT_EQ(Stored(), before);
    m_vault.Lock();
    EXPECT_EQ(std::pair(commands.CanHarden(), commands.CanUnharden()), std::pair(false, false));
}

}  // namespace
