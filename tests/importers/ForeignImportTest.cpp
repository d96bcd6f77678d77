// Other programs' export files: one small file per format, written from the
// columns each program documents, read field by field; the reasons a
// record is left out; files that do not read whole; the CSV round trip.
#include <gtest/gtest.h>

#include "importers/CsvExport.h"
#include "importers/ForeignFile.h"
#include "importers/ImportPlan.h"

namespace {

using Row = CMemoryItemList::Row;

std::vector<Row> Rows(const CMemoryItemList& list) {
    std::vector<Row> rows;
    for (int row = 0; row < list.RowCount(); ++row) rows.push_back(list.RowAt(row));
    return rows;
}

ImportPlan Plan(const std::string& bytes, ForeignFormat format, const CMemoryItemList& existing,
                ForeignFormat* recognised = nullptr, const PasswordLimit& limit = kHardenedPasswordLimit) {
    ForeignFile file;
    std::string error;
    EXPECT_TRUE(ReadForeignFile(bytes, format, file, error)) << error;
    if (recognised) *recognised = file.format;
    return PlanImport(file, existing, limit);
}

TEST(ForeignImportTest, EachProgramsFileIsReadFieldByField) {
    struct Case {
        ForeignFormat format;
        std::string bytes;
        std::vector<Row> items;  // Location, URL, User ID, Hint, Note, Password
    };
    const Case cases[] = {
        {ForeignFormat::kKeePassXcCsv,
         "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\",\"Created\"\r\n"
         "\"Root/Mail\",\"Post, office\",\"ann\",\"p\"\"w 1 \",\"https://post.example\",\"first\",\"\",\"0\",\"2024\",\"2023\"\r\n",
         {{"Post, office", "https://post.example", "ann", "Root/Mail", "first", "p\"w 1 "}}},
        {ForeignFormat::kBitwardenCsv,
         "\xEF\xBB\xBF" "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp\n"
         "Work,1,login,Wiki,,,0,https://wiki.example,bob,w1k1,\n"
         ",,note,Recipe,flour,,0,,,,\n",
         {{"Wiki", "https://wiki.example", "bob", "Work", "", "w1k1"}}},
        {ForeignFormat::kBitwardenJson,
         R"({"encrypted": false, "folders": [{"id": "f1", "name": "Home"}], "items": [
             {"type": 1, "name": "Router", "folderId": "f1", "notes": null,
              "login": {"uris": [{"match": null, "uri": "http://192.168.1.1"}], "username": "admin", "password": "r0uter"}},
             {"type": 3, "name": "Visa", "card": {"number": "4111"}}]})",
         {{"Router", "http://192.168.1.1", "admin", "Home", "", "r0uter"}}},
        {ForeignFormat::kFirefoxCsv,
         "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\",\"timeCreated\",\"timeLastUsed\",\"timePasswordChanged\"\n"
         "\"https://shop.example:8443\",\"carl\",\"s h o p\",,\"https://shop.example\",\"{1}\",\"1\",\"2\",\"3\"\n",
         {{"shop.example", "https://shop.example:8443", "carl", "", "", "s h o p"}}},
        {ForeignFormat::kChromeCsv,
         "name,url,username,password,note\nforum.example,https://forum.example/login,dora,\"multi\nline\",\n"
         "bank.example,https://bank.example/,eve,b4nk,savings\n",
         {{"bank.example", "https://bank.example/", "eve", "", "savings", "b4nk"}}},
        {ForeignFormat::kGenericCsv,
         "Site;x,E-Mail,Pass,Category,Comments,Website\nignored,fay@example.org,g3n,Misc,hello,https://gen.example\n",
         {{"gen.example", "https://gen.example", "fay@example.org", "Misc", "hello", "g3n"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ForeignFormatName(c.format));
        ForeignFormat recognised = ForeignFormat::kAuto;
        const ImportPlan plan = Plan(c.bytes, ForeignFormat::kAuto, CMemoryItemList(), &recognised);
        EXPECT_EQ(recognised, c.format);
        EXPECT_EQ(Rows(plan.toAdd), c.items);
        // Named by the user, the same file gives the same Items.
        EXPECT_EQ(Rows(Plan(c.bytes, c.format, CMemoryItemList()).toAdd), c.items);
    }
}

TEST(ForeignImportTest, EachRecordLeftOutIsCountedWithItsReason) {
    CMemoryItemList existing;
    const int row = existing.AppendRow("Mail");
    existing.SetText(row, kColUserId, "ann");
    existing.SetText(row, kColPassword, "same");
    const std::string bytes =
        "title,url,username,password,notes\n"
        "Mail,,ann,same,\n"                          // in the list already
        "Blog,,ann,b,\n"                             // added
        "Blog,,ann,b,\n"                             // earlier in the file
        ",,nobody,x,\n"                              // nowhere to go
        "Long,,ann," + std::string(17, 'p') + ",\n"  // over the first format's limit
        "Note,,ann,n," + std::string(301, 'n') + "\n"
        "Empty,,ann,,\n";
    const ImportPlan plan = Plan(bytes, ForeignFormat::kGenericCsv, existing, nullptr, kKeyTextPasswordLimit);
    EXPECT_EQ(plan.found, 7);
    EXPECT_EQ(plan.toAdd.RowCount(), 1);
    std::vector<std::string> reasons;
    for (const ImportPlan::Skipped& skipped : plan.skipped) reasons.push_back(skipped.location + ": " + skipped.reason);
    EXPECT_EQ(reasons, (std::vector<std::string>{
                           "Mail: already in the list",
                           "Blog: already in the list",
                           ": no Location and no URL",
                           "Long: the Password holds more than 16 bytes (accented letters count as two); a "
                           "hardened vault keeps longer ones",
                           "Note: the Note holds more than 300 characters",
                           "Empty: the Password is empty",
                       }));
    EXPECT_EQ(plan.ReasonCounts().at("already in the list"), 2);
}

TEST(ForeignImportTest, AFileThatDoesNotReadWholeImportsNothing) {
    for (const auto& [format, bytes] : std::vector<std::pair<ForeignFormat, std::string>>{
             {ForeignFormat::kAuto, "title,password\nA,\"open quote\n"},
             {ForeignFormat::kAuto, "title,password\nA,b\"c\n"},
             {ForeignFormat::kAuto, R"({"items": [{"type": 1, "login": {"password": "x"}})"},
             {ForeignFormat::kAuto, R"({"encrypted": true, "items": []})"},
             {ForeignFormat::kAuto, "colour,size\nred,3\n"},
             {ForeignFormat::kBitwardenJson, "title,password\nA,b\n"},
             {ForeignFormat::kAuto, ""},
         }) {
        ForeignFile file;
        std::string error;
        EXPECT_FALSE(ReadForeignFile(bytes, format, file, error)) << bytes;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(file.records.empty());
    }
}

TEST(ForeignImportTest, ACsvExportImportsBackIntoAnEmptyVaultAsItWas) {
    CMemoryItemList list;
    for (const Row& item : std::vector<Row>{{"Bank, \"main\"", "https://b.example", "ann", "Money", "pin 1", " sp ace "},
                                            {"Mail", "", "", "", "", "m"}}) {
        const int row = list.AppendRow(item[kColLocation]);
        for (int column = kColUrl; column < kItemColumnCount; ++column) {
            list.SetText(row, column, item[static_cast<std::size_t>(column)]);
        }
    }
    ForeignFormat recognised = ForeignFormat::kAuto;
    const ImportPlan plan = Plan(BuildCsvExport(list), ForeignFormat::kAuto, CMemoryItemList(), &recognised);
    EXPECT_EQ(recognised, ForeignFormat::kBitwardenCsv);
    EXPECT_EQ(Rows(plan.toAdd), Rows(list));
}

}  // namespace
