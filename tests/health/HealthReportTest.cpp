// The password health report over a small vault: each finding once, a
// strong unique Password left out, the worst first, shared Passwords
// together; and the estimator linked from Debian's zxcvbn.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "health/HealthReport.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace {

TEST(PasswordStrengthTest, WellKnownWeakPasswordsArePoor) {
    for (const char* password : {"password", "123456", "qwerty123", "iloveyou"}) {
        EXPECT_EQ(EstimateStrength(password).word, StrengthWord::kPoor) << password;
    }
    EXPECT_EQ(EstimateStrength("x8#kQ2!mZp9$LwR4vT7&").word, StrengthWord::kExcellent);
}

class HealthReportTest : public ::testing::Test, protected keynest_test::TempStore {
protected:
    void Add(const char* location, const char* userId, const char* password) {
        const int row = m_rows.AppendRow(location);
        m_rows.SetText(row, kColUserId, userId);
        m_rows.SetText(row, kColPassword, password);
    }
    CVault m_vault{m_store};
    CMemoryItemList m_rows;
};

TEST_F(HealthReportTest, EachFindingOnceTheWorstFirstAndSharedPasswordsTogether) {
    ASSERT_TRUE(m_vault.ChooseFirstPassword("Gl4cier-Moth-91"));
    Add("strong", "ann", "vT7&x8#kQ2!mZp9$");
    Add("mail", "ann", "Gl4cier-Moth-91");       // the UnLock password itself
    Add("forum", "bob@example.org", "bob-R7#kq!2Wz");
    Add("shop", "carl", "Zq7!Wd93&Lp2xVb");
    Add("bank", "dora", "Zq7!Wd93&Lp2xVb");
    Add("wiki", "eve", "dragon");
    Add("chess", "fay", "Gl4cier-Moth-91!x");     // holds the UnLock password

    const std::vector<HealthEntry> report = BuildHealthReport(m_rows, m_vault);
    std::vector<std::string> shown;
    for (const HealthEntry& entry : report) {
        std::string line = entry.location;
        for (const std::string& finding : entry.Findings()) line += " | " + finding;
        shown.push_back(line);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "mail | is the UnLock password | weak strength",
                         "chess | contains the UnLock password",
                         "bank | used by 2 Items (group 1)",
                         "shop | used by 2 Items (group 1)",
                         "forum | contains its User ID",
                         "wiki | poor strength",
                     }));
    // Compared only while unlocked.
    m_vault.Lock();
    EXPECT_EQ(m_vault.CompareWithUnlockPassword("Gl4cier-Moth-91"), UnlockOverlap::kNone);
}

}  // namespace
