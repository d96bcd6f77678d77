// The Item commands over a fake host: add, edit, delete, undo and delete
// all with their hints, questions and the list lock; failed saves reported.

#include <gtest/gtest.h>

#include <future>

#include "FakeServices.h"
#include "ui/ItemCommandHost.h"
#include "ui/ItemCommands.h"
#include "ui/ItemDlg.h"
#include "ModalDriver.h"
#include "settings/Preferences.h"
#include "ui/SaveFailure.h"
#include "TestSupport.h"

using namespace keynest_test;

namespace {

using Row = CMemoryItemList::Row;

const QString kSelfLocked = QStringLiteral(
    "Keynest has already self-locked\n due to inactivity.\n\nPlease unlock and try again.");
const QString kExportHint = QStringLiteral(
    "New User Hint...\n\nWith this many stored password you may want \nto start making Export "
    "files now and then.\n\nHit F1 for Help at anytime.");
const QString kEditHint = QStringLiteral(
    "New User Hint...\n\nDouble clicking an Item's Password \nfield will launch the Edit dialog "
    "box.\n\nSingle clicking an Item's Location Field \nwill have your browser take you "
    "there\nif you have chosen that Preference.\n\nHit F1 for Help at anytime.");
const QString kSelectItem = QStringLiteral("Please select an item. ");

// True when another thread cannot take the lock, i.e. someone holds it.
bool IsHeld(std::recursive_mutex& mutex) {
    return !std::async(std::launch::async, [&mutex] {
                if (!mutex.try_lock()) return false;
                mutex.unlock();
                return true;
            }).get();
}

class FakeHost final : public IItemCommandHost {
  public:
    IItemList& Rows() override { return list; }
    void RemoveRow(int row) override {
        EXPECT_TRUE(IsHeld(mutex));
        list.RemoveRow(row);
    }
    int FirstSelectedRow() const override { return selected; }
    void ScrollToRow(int row) override { scrolledTo.push_back(row); }
    bool IsUnlocked() const override { return unlocked; }
    void SignalActivity() override { ++activity; }
    bool SaveAllItems() override {
        EXPECT_FALSE(IsHeld(mutex));
        stored.clear();
        for (int row = 0; row < list.RowCount(); ++row) stored.push_back(list.RowAt(row));
        ++saves;
        return saveSucceeds;
    }
    std::recursive_mutex& ListLock() override { return mutex; }
    QWidget* DialogParent() override { return nullptr; }

    void Add(const Row& row) {
        const int index = list.AppendRow(row[kColLocation]);
        for (int column = 1; column < kItemColumnCount; ++column) {
            list.SetText(index, column, row[static_cast<size_t>(column)]);
        }
    }
    std::vector<std::string> Locations() const {
        std::vector<std::string> names;
        for (int row = 0; row < list.RowCount(); ++row) {
            names.push_back(list.GetText(row, kColLocation));
        }
        return names;
    }

    CMemoryItemList list;
    std::recursive_mutex mutex;
    int selected = -1;
    bool unlocked = true;
    bool saveSucceeds = true;
    int activity = 0;
    int saves = 0;
    std::vector<int> scrolledTo;
    std::vector<Row> stored;
};

class ItemCommandsTest : public ::testing::Test, protected TempStore {
  protected:
    void SetUp() override { prefs.pwdChars = FullCharSet(); }

    void AddRows(std::initializer_list<const char*> locations) {
        for (const char* location : locations) host.Add({location, "u", "id", "h", "n", "pw"});
    }

    Preferences prefs;
    FakeServices fakes;
    FakeHost host;
    CItemCommands commands{host, fakes.AsServices(), m_store, prefs};
};

TEST_F(ItemCommandsTest, AddSuggestsPasswordAndInsertsSorted) {
    AddRows({"alpha", "Charlie"});
    QString suggested;
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Add Keynest Item"));
        suggested = Box(dialog, "passwordEdit")->text();
        Box(dialog, "locationEdit")->setText(QStringLiteral("bravo"));
        Box(dialog, "urlEdit")->setText(QStringLiteral("https://b.example"));
        Box(dialog, "noteEdit")->setText(QStringLiteral("n\u00F8te"));
        Press(dialog, "okButton");
    });
    commands.OnAddItem();

    EXPECT_EQ(suggested.size(), 16);
    EXPECT_EQ(host.Locations(), (std::vector<std::string>{"alpha", "bravo", "Charlie"}));
    EXPECT_EQ(host.list.RowAt(1),
              (Row{"bravo", "https://b.example", "", "", "n\xC3\xB8te", suggested.toStdString()}));
    EXPECT_EQ(host.scrolledTo, std::vector<int>{1});
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.stored.size(), 3u);
    EXPECT_EQ(host.activity, 1);

    prefs.createOnAdd = 0;
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        suggested = Box(dialog, "passwordEdit")->text();
        Press(dialog, "cancelButton");
    });
    commands.OnAddItem();
    EXPECT_TRUE(suggested.isEmpty());
    EXPECT_EQ(host.saves, 1);
}

TEST_F(ItemCommandsTest, ExportHintFromFourRowsOnceEvenWhenCancelled) {
    AddRows({"a", "b", "c"});
    RejectWhenModal<CItemDlg>();
    commands.OnAddItem();
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());

    AddRows({"d"});
    host.selected = 0;
    commands.OnDeleteItem();
    AddRows({"a"});
    const int savesBefore = host.saves;
    RejectWhenModal<CItemDlg>();
    commands.OnAddItem();
    EXPECT_EQ(fakes.prompter.texts, QStringList{kExportHint});
    EXPECT_EQ(m_store.GetInt("Newbie", "Export", 1), 0);
    EXPECT_EQ(host.list.RowCount(), 4);
    EXPECT_EQ(host.saves, savesBefore);
    EXPECT_TRUE(commands.IsUndoAvailable());

    RejectWhenModal<CItemDlg>();
    commands.OnAddItem();
    EXPECT_EQ(fakes.prompter.texts.size(), 1);
}

TEST_F(ItemCommandsTest, EditChangesTheSelectedRowInPlaceAndHintsOnceFromTheCommand) {
    AddRows({"a", "b", "c"});
    host.selected = 1;
    m_store.SetInt("Newbie", "ChangeEditPwd", 0);
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Keynest Item"));
        EXPECT_EQ(Child<QPushButton>(dialog, "okButton")->text(), QStringLiteral("Save"));
        EXPECT_EQ(Box(dialog, "locationEdit")->text(), QStringLiteral("b"));
        EXPECT_EQ(Box(dialog, "passwordEdit")->text(), QStringLiteral("pw"));
        Box(dialog, "locationEdit")->setText(QStringLiteral("z"));
        Box(dialog, "hintEdit")->setText(QStringLiteral("new hint"));
        Press(dialog, "okButton");
    });
    commands.EditSelectedItem();

    EXPECT_EQ(host.list.RowAt(1), (Row{"z", "u", "id", "new hint", "n", "pw"}));
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(host.activity, 1);
    // The double-click path shows no hint; the Edit command shows it once.
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());
    for (int i = 0; i < 2; ++i) {
        RejectWhenModal<CItemDlg>();
        commands.OnEditItem();
    }
    EXPECT_EQ(fakes.prompter.texts, QStringList{kEditHint});
    EXPECT_EQ(m_store.GetInt("Newbie", "Edit", 1), 0);
    EXPECT_EQ(host.saves, 1);
}

TEST_F(ItemCommandsTest, NoSelectionWarnsAndOpensNothing) {
    AddRows({"a"});
    host.unlocked = false;
    commands.EditSelectedItem();
    host.unlocked = true;
    commands.OnDeleteItem();
    EXPECT_EQ(fakes.prompter.texts, (QStringList{kSelectItem, kSelectItem}));
    EXPECT_EQ(host.list.RowCount(), 1);
    EXPECT_EQ(host.saves, 0);
}

TEST_F(ItemCommandsTest, UndoRestoresOnlyTheLastDeletionAndNeverWhileLockedOrWiped) {
    host.Add({"A", "ua", "ia", "ha", "na", "pa"});
    host.Add({"B", "ub", "ib", "hb", "nb", "pb"});
    host.selected = 0;
    commands.OnDeleteItem();
    commands.OnDeleteItem();
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_TRUE(host.stored.empty());
    EXPECT_EQ(host.saves, 2);

    const int activity = host.activity;
    commands.OnUndoDelete();
    EXPECT_EQ(host.activity, activity);
    ASSERT_EQ(host.list.RowCount(), 1);
    EXPECT_EQ(host.list.RowAt(0), (Row{"B", "ub", "ib", "hb", "nb", "pb"}));
    EXPECT_EQ(host.stored.size(), 1u);
    EXPECT_EQ(host.scrolledTo, std::vector<int>{0});
    EXPECT_FALSE(commands.IsUndoAvailable());
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());

    // While locked Undo does nothing; the wipe at lock empties the slot.
    commands.OnDeleteItem();
    host.unlocked = false;
    commands.OnUndoDelete();
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_TRUE(commands.IsUndoAvailable());
    commands.WipeUndoSlot();
    EXPECT_FALSE(commands.IsUndoAvailable());
    host.unlocked = true;
    commands.OnUndoDelete();
    EXPECT_EQ(host.list.RowCount(), 0);
}

TEST_F(ItemCommandsTest, DeleteAllAsksAndEmptiesTheUndoSlot) {
    AddRows({"a", "b", "c"});
    host.selected = 0;
    commands.OnDeleteItem();

    fakes.prompter.answers = {kPromptNo};
    commands.OnDeleteAllItems();
    EXPECT_EQ(host.list.RowCount(), 2);
    EXPECT_TRUE(commands.IsUndoAvailable());

    fakes.prompter.answers = {kPromptYes};
    commands.OnDeleteAllItems();
    EXPECT_EQ(fakes.prompter.texts.last(),
              QStringLiteral("Are you sure you want to delete all items?"));
    EXPECT_EQ(host.list.RowCount(), 0);
    EXPECT_TRUE(host.stored.empty());
    EXPECT_EQ(host.saves, 2);
    EXPECT_FALSE(commands.IsUndoAvailable());
}

TEST_F(ItemCommandsTest, ConfirmedAfterSelfLockStoresNothing) {
    AddRows({"a"});
    host.selected = 0;
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        Box(dialog, "locationEdit")->setText(QStringLiteral("new"));
        host.unlocked = false;
        Press(dialog, "okButton");
    });
    commands.OnAddItem();
    host.unlocked = true;
    WhenModal<CItemDlg>([&](CItemDlg* dialog) {
        Box(dialog, "noteEdit")->setText(QStringLiteral("changed"));
        host.unlocked = false;
        EXPECT_TRUE(dialog->SaveSilently());
    });
    commands.EditSelectedItem();

    EXPECT_EQ(fakes.prompter.texts.count(kSelfLocked), 2);
    EXPECT_EQ(host.Locations(), std::vector<std::string>{"a"});
    EXPECT_EQ(host.list.GetText(0, kColNote), "n");
    EXPECT_EQ(host.saves, 0);
}

TEST_F(ItemCommandsTest, FailedSaveIsReported) {
    AddRows({"a", "b"});
    host.saveSucceeds = false;
    host.selected = 0;
    commands.OnDeleteItem();
    commands.OnUndoDelete();
    fakes.prompter.answers = {kPromptYes};
    commands.OnDeleteAllItems();
    EXPECT_EQ(fakes.prompter.texts.count(SaveFailureText()), 3);
    EXPECT_EQ(host.list.RowCount(), 0);
}

}  // namespace
