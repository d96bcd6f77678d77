// The Twofish tester: its checks in order, the cipher text of known
// vectors, and the data form remembered between uses.

#include <gtest/gtest.h>

#include <QRadioButton>

#include "ContextFixture.h"
#include "ModalDriver.h"
#include "extras/ExtraCommands.h"
#include "extras/TwofishTestDlg.h"
#include "settings/StoreNames.h"

using namespace keynest_test;

namespace {

constexpr int kText = CTwofishTestDlg::kAsciiText;
constexpr int kHex = CTwofishTestDlg::kHexNibbles;
constexpr const char* kZero = "9F589F5CF6122C32B6BFEC2F2AE8C35A";  // zero key, zero block
constexpr const char* kRange = "Error: Character of of range of ! to ` (0x21 to 0x7e).";

}  // namespace

class TwofishTestDlgTest : public ::testing::Test, public ContextFixture {};

TEST_F(TwofishTestDlgTest, ComputeChecksInOrderAndEncrypts) {
    struct Case {
        int form;
        const char *key, *plain, *result;  // the cipher text, or the one message shown
    } cases[] = {
        {CTwofishTestDlg::kNoForm, "", "", kZero},
        {kText, "", "", kZero},
        {kHex, "", "9f589f5cf6122c32b6bfec2f2ae8c35a", "D491DB16E7B1C39E86CB086B789F5419"},
        {kText, "a key with blanks, longer than 16", "", kRange},
        {kText, "ok", "caf\u00e9", kRange},
        {kText, "17-character-key!", "", "Error: ASCII strings must have 16 or fewer characters."},
        {kHex, "0G0", "", "Error: Hex strings must be even nibble length."},
        {kHex, "", "0000000000000000000000000000000000",
         "Error: Hex strings must have 32 or fewer nibbles."},
        {kHex, "0000000000000000000000000000000G", "", "Error: Hex strings have non-hex nibbles."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " / " + c.plain);
        m_fakes.prompter.texts.clear();
        CTwofishTestDlg dialog(m_vault.Sealer(), m_fakes.prompter);
        dialog.m_strKey = QString::fromUtf8(c.key);
        dialog.m_strPlainText = QString::fromUtf8(c.plain);
        dialog.m_strCipherText = QStringLiteral("before");
        dialog.m_nDataForm = c.form;
        dialog.show();
        Press(&dialog, "computeButton");

        const QString result = QString::fromUtf8(c.result);
        const bool failed = result.startsWith(QLatin1String("Error"));
        EXPECT_EQ(m_fakes.prompter.texts, failed ? QStringList{result} : QStringList{});
        EXPECT_EQ(Box(&dialog, "cipherTextEdit")->text(),
                  failed ? QStringLiteral("before") : result);
        EXPECT_EQ(Box(&dialog, "plainTextEdit")->text(), QString::fromUtf8(c.plain));
    }
}
