// Export files: round trip, byte layout, the judgement of each record read,
// hostile files, failed writes, the backup beside an imported file, the default extension.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "vault/ExportFile.h"
#include "vault/PasswordSealer.h"

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
std::string Exported(const IItemList& list, const std::string& password = kPassword) {
    std::string bytes;
    EXPECT_TRUE(BuildExportData(list, password, bytes));
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
    EXPECT_EQ(std::tie(result.error, result.read, result.skipped, result.truncated),
              std::make_tuple(Error::None, 3, 0, false));
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

// One record of `row` sealed under `password`, without the format word.
std::string Record(const CMemoryItemList::Row& row, const std::string& password = kPassword) {
    return Exported(MakeList({row}), password).substr(4);
}

TEST_F(ExportFileTest, EachRecordIsJudgedByItself) {
    const std::string head = Word(1);
    const std::string ok = Record({"site", "", "", "", "", "pw"});
    const std::string f15(15, 'f');
    const std::string s16(16, 's');
    std::string notHex = ok;
    notHex[notHex.size() - 3] = 'G';
    const std::string emptyFields = Word(32) + ok.substr(4, 32) + Word(0) + Word(0) + Word(0) +
                                    Word(0) + Word(32) + ok.substr(ok.size() - 32);
    const std::string lineBreak = Record({"a\nb", "", "", "", "", "pw"});
    // The writer keeps a Password to one block; these are made by hand.
    const auto withPassword = [&ok](const std::string& password) {
        const std::string sealed = CPasswordSealer().SealText(kPassword, password, 0);
        return ok.substr(0, ok.size() - 36) + Word(static_cast<std::uint32_t>(sealed.size())) +
               sealed;
    };
    struct Case {
        std::string bytes;
        Error error;
        int read, skipped, brokeRules;
        bool truncated;
    };
    const Case cases[] = {
        // Too short for a format word, or a word alone that is not it.
        {"ab\n", Error::NotExportFile, 0, 0, 0, false},
        {Word(2), Error::NotExportFile, 0, 0, 0, false},
        // An export of no Items; another format word before records.
        {head, Error::None, 0, 0, 0, false},
        {Word(2) + ok, Error::None, 1, 0, 0, false},
        // Cut off, or a length beyond the end: the records before are read.
        {head + ok + ok.substr(0, ok.size() - 1), Error::None, 1, 0, 0, true},
        {head + ok + Word(0xFFFFFFFF) + "AB", Error::None, 1, 0, 0, true},
        {head + ok.substr(0, 40), Error::NotExportFile, 0, 0, 0, true},
        // Little or no padding (fields of 15 and 16 bytes), empty fields
        // without digits, bytes that are not UTF-8: all Keynest's own.
        {head + Record({f15, f15, f15, f15, f15, f15}), Error::None, 1, 0, 0, false},
        {head + Record({s16, s16 + s16, s16, s16, s16, s16}), Error::None, 1, 0, 0, false},
        {head + emptyFields + Record({"Caf\xE9", "", "", "", "", "\xE9t\xE9"}), Error::None, 2, 0,
         0, false},
        // Another password, a digit that is not hex, a zero byte inside a
        // text, a Password of two blocks: left out, the others read.
        {head + Record({"site", "", "", "", "", "pw"}, "another") + ok, Error::None, 1, 1, 0,
         false},
        {head + notHex + ok + Record({std::string("a\0b", 3), "", "", "", "", "pw"}), Error::None,
         1, 2, 0, false},
        {head + withPassword(std::string(17, 'p')) + ok, Error::None, 1, 1, 0, false},
        // Items the Item form would refuse, and a field beyond any Item's.
        {head + lineBreak + Record({"a", "", "", "", std::string(301, 'n'), "pw"}) + ok,
         Error::None, 1, 2, 2, false},
        {head + Record({"a", "", "", "", std::string(2049, 'n'), "pw"}) + ok, Error::None, 1, 1, 1,
         false},
        {head + Word(0) + ok.substr(36) + withPassword(""), Error::NotExportFile, 0, 2, 2, false},
    };
    for (const Case& c : cases) {
        CMemoryItemList list;
        const ExportReadResult r = ReadExportData(c.bytes, list, kPassword);
        EXPECT_EQ(std::tie(r.error, r.read, r.skipped, r.brokeRules, r.truncated),
                  std::tie(c.error, c.read, c.skipped, c.brokeRules, c.truncated))
            << testing::PrintToString(c.bytes.substr(0, 60));
        EXPECT_EQ(list.RowCount(), c.read);
    }
    CMemoryItemList list;
    const ExportReadResult r =
        ReadExportData(head + notHex + lineBreak + ok + ok.substr(0, 9), list, kPassword);
    EXPECT_EQ(DescribeUnread(r),
              "1 record not sealed under this UnLock password, or damaged; 1 record breaking the "
              "Item rules (the Location holds a line break); the last record cut off by the end "
              "of the file");
}

TEST_F(ExportFileTest, AFileOfAnotherPasswordImportsNothing) {
    // Few padding bytes prove little: a wrong key leaves most records with
    // none at all, and a sixth of these would pass the Item rules.
    std::mt19937 random(7);
    const auto text = [&random](unsigned longest) {
        std::string made(random() % (longest + 1), ' ');
        for (char& c : made) c = static_cast<char>('!' + random() % 94);
        return made;
    };
    CMemoryItemList items;
    for (int i = 0; i < 2000; ++i) {
        const int row = items.AppendRow("L" + text(30));
        for (int column = kColUrl; column < kColPassword; ++column)
            items.SetText(row, column, text(40));
        items.SetText(row, kColPassword, "P" + text(15));
    }
    CMemoryItemList list;
    const ExportReadResult r = ReadExportData(Exported(items, "another"), list, kPassword);
    EXPECT_EQ(std::tie(r.error, r.read), std::make_tuple(Error::NotExportFile, 0));
}

TEST_F(ExportFileTest, OnlyRegularFilesAreReadAndWithoutWaiting) {
    const std::string fifo = m_dir.File("fifo.kne");
    const std::string huge = m_dir.File("huge.kne");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, kMaxExportFileBytes + 1);
    const auto start = std::chrono::steady_clock::now();
    const std::pair<std::string, Error> cases[] = {
        {fifo, Error::NotRegular},
        {m_dir.Path(), Error::NotRegular},
        {huge, Error::NotExportFile},
        {"/proc/self/status", Error::NotExportFile},  // a size of 0 that reads as text
    };
    for (const auto& [path, error] : cases) {
        CMemoryItemList list;
        EXPECT_EQ(ReadExportFile(path, list, kPassword).error, error) << path;
        EXPECT_EQ(ReadExportFile(path, list, kPassword, std::chrono::seconds(1)).error, error);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
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
    // A link planted at the backup's name is replaced; its target is not written.
    const std::string victim = m_dir.File("victim");
    std::ofstream(victim) << "mine";
    ASSERT_EQ(::chmod(victim.c_str(), 0644), 0);
    std::filesystem::remove(backup);
    std::filesystem::create_symlink(victim, backup);
    EXPECT_TRUE(SaveBackupFile(m_path, old, kPassword, confirm));
    EXPECT_EQ(std::make_pair(FileBytes(victim), Mode(victim)),
              std::make_pair(std::string("mine"), 0644u));
    EXPECT_FALSE(std::filesystem::is_symlink(backup));
    EXPECT_EQ(FileBytes(backup), Exported(old));
}

TEST(ExportFileNames, DefaultExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/me/backup", "/home/me/backup.kne"}, {"backup", "backup.kne"},
        {"/a.d/backup", "/a.d/backup.kne"},         {"/a/items.kne", "/a/items.kne"},
        {"/a/items.old", "/a/items.old"},           {"/a/", "/a/"}};
    for (const auto& [typed, expected] : cases) EXPECT_EQ(WithDefaultExtension(typed), expected);
}
