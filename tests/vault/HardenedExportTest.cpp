// Hardened export files: every Item comes back byte for byte under the same
// password, and any change, cut or other password refuses the whole file,
// also for the reader of the first export format.
#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"
#include "vault/ExportFile.h"
#include "vault/ItemList.h"
#include "vault/hardened/HardenedExport.h"

namespace {

constexpr KdfParams kTestKdf{64, 1, 1};

class HardenedExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const int row = m_rows.AppendRow("bank");
        m_rows.SetText(row, kColPassword, std::string(40, 'p'));
        m_rows.SetText(row, kColNote, std::string("line\nbreak\0zero", 15));
        m_rows.SetText(m_rows.AppendRow("mail"), kColPassword, "x");
        ASSERT_TRUE(BuildHardenedExport(m_rows, "secret", kTestKdf, m_file));
    }
    CMemoryItemList m_rows;
    std::string m_file;
};

TEST_F(HardenedExportTest, EveryItemComesBackUnderTheSamePassword) {
    std::vector<SealedRecord> records;
    ASSERT_EQ(ReadHardenedExport(m_file, "secret", records), HardenedExportError::None);
    ASSERT_EQ(records.size(), 2u);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < kItemColumnCount; ++column) {
            EXPECT_EQ(records[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)],
                      m_rows.GetText(row, column));
        }
    }
}

TEST_F(HardenedExportTest, AnyChangeCutOrOtherPasswordRefusesTheWholeFile) {
    std::vector<std::string> damaged = {m_file + "x"};
    for (std::size_t i = 0; i < m_file.size(); ++i) {
        damaged.push_back(m_file.substr(0, i));
        std::string flipped = m_file;
        flipped[i] = static_cast<char>(flipped[i] ^ 0x01);
        damaged.push_back(flipped);
    }
    std::vector<SealedRecord> records;
    for (const std::string& data : damaged) {
        EXPECT_NE(ReadHardenedExport(data, "secret", records), HardenedExportError::None);
    }
    EXPECT_EQ(ReadHardenedExport(m_file, "Secret", records), HardenedExportError::CannotOpen);
    EXPECT_TRUE(records.empty());

    // The first format's reader refuses it rather than reading junk Items.
    keynest_test::TempDir dir;
    std::ofstream(dir.File("h.kne"), std::ios::binary) << m_file;
    CMemoryItemList list;
    EXPECT_NE(ReadExportFile(dir.File("h.kne"), list, "secret").error, ExportReadError::None);
    EXPECT_EQ(list.RowCount(), 0);
}

}  // namespace
