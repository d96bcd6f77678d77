// Export files: round trip, byte layout, the reader's skip and stop rules,
// failed writes, the backup beside an imported file, the default extension.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>
#include <vector>

#include "vault/ExportFile.h"
#include "vault/PasswordSealer.h"
#include "TestSupport.h"

namespace {

using Error = ExportReadError;
const std::string kPassword = "unlock me";

CMemoryItemList MakeList(const std::vector<CMemoryItemList::Row>& rows) {
    CMemoryItemList list;
    for (const auto& row : rows) {
        const int at = list.AppendRow(row[kColLocation]);
        for (int column = 1; column < kItemColumnCount; ++column)
            list.SetText(at, column, row[static_cast<size_t>(column)]);
    }
    return list;
}

// The export bytes of a list: equal bytes mean equal Items in equal order.
std::string Exported(const IItemList& list) {
    std::string bytes;
    EXPECT_TRUE(BuildExportData(list, kPassword, bytes));
    return bytes;
}

std::string Word(std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(value >> shift));
    return bytes;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned Mode(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 0777u : 0u;
}

class ExportFileTest : public ::testing::Test {
  protected:
    size_t Entries() const {
        const std::filesystem::directory_iterator entries(m_dir.Path());
        return static_cast<size_t>(std::distance(begin(entries), end(entries)));
    }
    keynest_test::TempDir m_dir;
    const std::string m_path = m_dir.File("items.kne");
    const CMemoryItemList m_items = MakeList(
        {{std::string(300, 'l'), std::string(300, 'u'), "", "hint", "", std::string(16, 'p')},
         {"b", "", "", "", "", "x"},
         {"a", "https://a", "me", "", std::string(17, 'n'), "pw"}});
};

}  // namespace

TEST_F(ExportFileTest, RoundTripThroughAFile) {
    CMemoryItemList list = MakeList({{"no password", "", "", "", "", ""}});
    ASSERT_TRUE(WriteExportFile(m_path, m_items, kPassword));
    EXPECT_EQ(Mode(m_path), 0600u);
    EXPECT_EQ(Entries(), 1u);
    // Imported without clearing: the row without a Password stays, every Item comes in.
    const ExportReadResult result = ReadExportFile(m_path, list, kPassword);
    EXPECT_EQ(std::tie(result.error, result.read, result.truncated),
              std::make_tuple(Error::None, 3, false));
    EXPECT_EQ(list.RowCount(), 4);
    EXPECT_EQ(Exported(list), FileBytes(m_path));
}

TEST_F(ExportFileTest, OneRecordByteForByte) {
    // Under the empty UnLock password the key is all zero bytes, so the
    // cipher's known answers give every block: the zero block (an empty
    // field) and the 16 bytes 9F 58 ... 5A, which encrypt to D491...5419.
    const std::string zeroBlock = "9F589F5CF6122C32B6BFEC2F2AE8C35A";
    const std::string chained = "D491DB16E7B1C39E86CB086B789F5419";
    std::string block;
    for (size_t i = 0; i < 32; i += 2)
        block += static_cast<char>(std::stoi(zeroBlock.substr(i, 2), nullptr, 16));
    std::string expected = std::string("\x01\0\0\0\x40\0\0\0", 8) + chained + chained;
    for (int field = 0; field < 4; ++field) expected += Word(32) + zeroBlock;
    expected += Word(32) + chained;

    ASSERT_TRUE(WriteExportFile(m_path, MakeList({{block + block, "", "", "", "", block}}), ""));
    EXPECT_EQ(FileBytes(m_path), expected);
}

TEST_F(ExportFileTest, ReaderSkipsAndStops) {
    const std::string head = Word(1);
    const std::string ok = Exported(MakeList({{"site", "", "", "", "", "pw"}})).substr(4);
    const std::string noPassword =
        ok.substr(0, ok.size() - 32) + CPasswordSealer().SealText(kPassword, "", 0);
    const auto withNote = [](size_t length) {
        return Exported(MakeList({{"a", "", "", "", std::string(length, 'n'), "pw"}})).substr(4);
    };
    const std::tuple<std::string, Error, int, int, bool> cases[] = {
        // No format word, or another one: read all the same.
        {"", Error::None, 0, 0, false},
        {Word(2) + ok, Error::None, 1, 0, false},
        {head, Error::None, 0, 0, false},
        {head + ok + ok.substr(0, ok.size() - 1), Error::None, 1, 0, true},
        {head + ok + Word(0xFFFFFFFF) + "AB", Error::None, 1, 0, true},
        {head + ok + Word(5000) + "AB", Error::None, 1, 0, true},
        // The longest field read (4096 digits), then one skipped unread.
        {head + withNote(2048) + ok, Error::None, 2, 0, false},
        {head + withNote(2049) + ok, Error::None, 1, 1, false},
        // No Location; a Password of two blocks; one that unseals to nothing.
        {head + Word(0) + ok.substr(36) + ok, Error::None, 1, 1, false},
        // Nothing readable at all is reported.
        {head + ok.substr(0, ok.size() - 36) + Word(64) + std::string(64, 'A'),
         Error::NotExportFile, 0, 1, false},
        {head + noPassword, Error::NotExportFile, 0, 1, false},
    };
    for (const auto& c : cases) {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << std::get<0>(c);
        CMemoryItemList fromMemory, fromFile;
        for (const ExportReadResult& r : {ReadExportData(std::get<0>(c), fromMemory, kPassword),
                                          ReadExportFile(m_path, fromFile, kPassword)}) {
            EXPECT_EQ(std::tie(r.error, r.read, r.skipped, r.truncated),
                      std::tie(std::get<1>(c), std::get<2>(c), std::get<3>(c), std::get<4>(c)))
                << testing::PrintToString(std::get<0>(c).substr(0, 60));
        }
        EXPECT_EQ(fromMemory.RowCount(), std::get<2>(c));
    }
    CMemoryItemList list;
    // Made under another password, the records would open as meaningless text.
    EXPECT_EQ(ReadExportData(head + ok + ok, list, "another").error, Error::NotExportFile);
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(ReadExportFile(m_dir.File("missing"), list, kPassword).error, Error::CannotOpen);
    EXPECT_EQ(ReadExportFile(m_dir.Path(), list, kPassword).error, Error::CannotOpen);
}

TEST_F(ExportFileTest, FailedWriteLeavesTheEarlierFile) {
    ASSERT_TRUE(WriteExportFile(m_path, MakeList({{"one", "", "", "", "", "p"}}), kPassword));
    const std::string before = FileBytes(m_path);
    // A file size limit makes the write fail half way.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const rlimit small{1000, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteExportFile(m_path, m_items, kPassword);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    // Nor is a read-only file replaced, or anything written into a missing folder.
    ASSERT_EQ(::chmod(m_path.c_str(), 0400), 0);
    EXPECT_FALSE(WriteExportFile(m_path, m_items, kPassword));
    EXPECT_FALSE(WriteExportFile(m_dir.File("missing/items.kne"), m_items, kPassword));
    EXPECT_EQ(FileBytes(m_path), before);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(ExportFileTest, BackupBesideTheImportedFile) {
    const std::string backup = m_dir.File("savedbak.kne");
    bool answer = false;
    const ConfirmReplaceReadOnly confirm = [&](const std::string& path) {
        EXPECT_EQ(path, backup);
        return answer;
    };
    const CMemoryItemList old = MakeList({{"old", "", "", "", "", "p"}});
    ASSERT_TRUE(SaveBackupFile(m_path, old, kPassword, confirm));
    EXPECT_EQ(Mode(backup), 0400u);
    // Replacing the read-only backup needs a Yes; an empty list leaves it alone.
    EXPECT_FALSE(SaveBackupFile(m_path, m_items, kPassword, confirm));
    EXPECT_EQ(FileBytes(backup), Exported(old));
    answer = true;
    EXPECT_TRUE(SaveBackupFile(m_path, m_items, kPassword, confirm));
    EXPECT_TRUE(SaveBackupFile(m_path, CMemoryItemList(), kPassword, confirm));
    EXPECT_EQ(Mode(backup), 0400u);
    EXPECT_EQ(FileBytes(backup), Exported(m_items));
    // No folder, no backup.
    EXPECT_FALSE(SaveBackupFile("items.kne", m_items, kPassword, confirm));
    EXPECT_EQ(Entries(), 1u);
}

TEST(ExportFileNames, DefaultExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/me/backup", "/home/me/backup.kne"}, {"backup", "backup.kne"},
        {"/a.d/backup", "/a.d/backup.kne"},         {"/a/items.kne", "/a/items.kne"},
        {"/a/items.old", "/a/items.old"},           {"/a/", "/a/"}};
    for (const auto& [typed, expected] : cases) EXPECT_EQ(WithDefaultExtension(typed), expected);
}
