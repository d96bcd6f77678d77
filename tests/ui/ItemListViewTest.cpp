#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CommandStates.h"
#include "FakeServices.h"
#include "ItemListModel.h"
#include "ItemListView.h"
#include "Preferences.h"
#include "RegistryStore.h"
#include "TestSupport.h"

namespace {

using keynest_test::FakeServices;
using keynest_test::TempDir;

const QString kSelectHint = QStringLiteral(
    "Please select an Item. \n\nIts Password can then be \ncopied to the Clipboard.");
const QString kListCopyHint = QStringLiteral(
    "New User Hint...\n\nEvery time an item in the list is clicked, \nits password is copied to "
    "the "
    "Clipboard.\n\nHit F1 for Help at anytime.");

// The list view with its hooks recorded instead of reaching the program.
class CTestListView final : public CItemListView {
  public:
    using CItemListView::CItemListView;

    bool unlocked = true;
    bool launch = false;
    int activity = 0;
    int edits = 0;
    std::vector<std::string> launches;
    std::vector<int> commands;
    int activityAtCommand = -1;
    std::function<void()> onEdit;

  protected:
    bool IsUnlocked() const override { return unlocked; }
    bool LaunchEnabled() const override { return launch; }
    void SignalActivity() override { ++activity; }
    void RequestLaunch(const std::string& url) override { launches.push_back(url); }
    void EditSelectedItem() override {
        ++edits;
        if (onEdit) onEdit();
    }
    void RunContextCommand(int commandId) override {
        activityAtCommand = activity;
        commands.push_back(commandId);
    }
};

class ItemListViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bool created = false;
        ASSERT_TRUE(
            store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, &created));
        view.resize(700, 400);
        view.SetColumnWidths({100, 100, 100, 100, 100, 100});
        view.show();
    }

    void AddItem(const std::string& location, const std::string& url, const std::string& password) {
        const int row = view.Model().AppendRow(location);
        view.Model().SetText(row, kColUrl, url);
        view.Model().SetText(row, kColPassword, password);
    }

    void AddFourItems() {
        AddItem("Alpha", "http://alpha", "pw-alpha");
        AddItem("Bravo", "ftp://bravo", "pw-bravo");
        AddItem("Charlie", "https://charlie", "pw-charlie");
        AddItem("Delta", "", "pw-delta");
    }

    QPoint CellCenter(int row, int column) const {
        return view.visualRect(view.Model().index(row, column)).center();
    }

    void Click(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, CellCenter(row, column));
    }

    // What the window system delivers for a double-click: press, release,
    // press, double-click, release.
    void DoubleClick(int row, int column, const std::function<void()>& betweenClicks = {}) {
        const QPoint point = CellCenter(row, column);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        if (betweenClicks) betweenClicks();
        QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }

    static void RunPostedEvents() { QCoreApplication::sendPostedEvents(); }

    TempDir dir;
    CRegistryStore store{dir.File("settings.db")};
    FakeServices fakes;
    CTestListView view{fakes.AsServices(), store};
};

TEST_F(ItemListViewTest, ClickOnAnyColumnButTheLocationCopiesExactlyThePasswordAtOnce) {
    AddItem("Bytes", "http://bytes", " p\xC3\xA4ss w\xE9 ");
    AddItem("Empty", "http://empty", "");
    view.launch = true;
    for (int column = kColUrl; column < kItemColumnCount; ++column) {
        Click(0, column);
        EXPECT_EQ(fakes.clipboard.text, " p\xC3\xA4ss w\xE9 ") << column;
    }
    Click(1, kColPassword);
    EXPECT_EQ(fakes.clipboard.text, "");
    RunPostedEvents();
    EXPECT_EQ(fakes.clipboard.copies, 6);
    EXPECT_TRUE(view.launches.empty());
}

TEST_F(ItemListViewTest, ClickOnTheLocationActsOnlyOnceTheClickIsDone) {
    AddFourItems();
    view.launch = true;
    Click(0, kColLocation);
    EXPECT_EQ(fakes.clipboard.copies, 0);
    EXPECT_EQ(view.activity, 0);
    RunPostedEvents();
    EXPECT_EQ(view.activity, 1);
    EXPECT_EQ(fakes.clipboard.text, "pw-alpha");
    EXPECT_EQ(view.launches, (std::vector<std::string>{"http://alpha"}));
}

TEST_F(ItemListViewTest, ClickOutsideAnyRowDoesNothing) {
    AddFourItems();
    view.launch = true;
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 380));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(680, CellCenter(1, 0).y()));
    RunPostedEvents();
    EXPECT_EQ(fakes.clipboard.copies, 0);
    EXPECT_EQ(view.activity, 0);
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());
    EXPECT_TRUE(view.launches.empty());
}

TEST_F(ItemListViewTest, CopyKeyCopiesTheSelectedPasswordAndNeverTheCurrentCell) {
    AddFourItems();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    view.setCurrentIndex(view.Model().index(1, kColLocation));
    view.clearSelection();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.copies, 0);
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());

    Click(2, kColNote);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.copies, 2);
    EXPECT_EQ(fakes.clipboard.text, "pw-charlie");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
}

struct LaunchCase {
    const char* url;
    bool launchOn;
    bool launched;
};

class ItemListLaunchTest : public ItemListViewTest,
                           public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(ItemListLaunchTest, LocationClickOpensOnlyWebAndFtpAddressesWhenLaunchIsOn) {
    const LaunchCase& test = GetParam();
    AddItem("Site", test.url, "secret");
    view.launch = test.launchOn;
    Click(0, kColLocation);
    RunPostedEvents();
    EXPECT_EQ(fakes.clipboard.text, "secret");
    if (test.launched) {
        EXPECT_EQ(view.launches, (std::vector<std::string>{test.url}));
    } else {
        EXPECT_TRUE(view.launches.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Urls, ItemListLaunchTest,
    ::testing::Values(LaunchCase{"hTTp://mixed.example", true, true},
                      LaunchCase{"HTTPS://upper.example", true, true},
                      LaunchCase{"ftp:", true, true}, LaunchCase{"Ftp://files", true, true},
                      LaunchCase{"xhttp://later", true, false},
                      LaunchCase{" http://blank", true, false},
                      LaunchCase{"www.example.com", true, false}, LaunchCase{"htt", true, false},
                      LaunchCase{"", true, false}, LaunchCase{"http://off.example", false, false}),
    [](const ::testing::TestParamInfo<LaunchCase>& param) { return "Url" + std::to_string(param.index); });

TEST_F(ItemListViewTest, DeferredClickArrivingDuringADoubleClickIsIgnored) {
    AddFourItems();
    view.launch = true;
    // The Item dialog's modal loop runs the pending deferred click.
    bool editSawDoubleClick = false;
    view.onEdit = [&] {
        editSawDoubleClick = view.InDoubleClick();
        RunPostedEvents();
    };
    DoubleClick(1, kColLocation);
    RunPostedEvents();
    EXPECT_EQ(view.edits, 1);
    EXPECT_TRUE(editSawDoubleClick);
    EXPECT_FALSE(view.InDoubleClick());
    EXPECT_TRUE(view.launches.empty());
    EXPECT_EQ(fakes.clipboard.copies, 0);
}

TEST_F(ItemListViewTest, DoubleClickAfterAHandledClickLaunchesAndCopiesOnlyOnce) {
    AddFourItems();
    view.launch = true;
    DoubleClick(1, kColLocation, &RunPostedEvents);
    RunPostedEvents();
    EXPECT_EQ(view.edits, 1);
    EXPECT_EQ(view.launches, (std::vector<std::string>{"ftp://bravo"}));
    EXPECT_EQ(fakes.clipboard.copies, 1);

    // On another column the first click copies and the release that ends
    // the double-click does not copy again.
    DoubleClick(3, kColNote);
    RunPostedEvents();
    EXPECT_EQ(view.edits, 2);
    EXPECT_EQ(fakes.clipboard.copies, 2);
    EXPECT_EQ(fakes.clipboard.text, "pw-delta");

    // A plain click after a double-click is a click again.
    Click(0, kColPassword);
    EXPECT_EQ(fakes.clipboard.copies, 3);
    EXPECT_EQ(fakes.clipboard.text, "pw-alpha");
}

TEST_F(ItemListViewTest, DoubleClickWhoseEditMovesTheRowsCopiesNothingOnRelease) {
    AddFourItems();
    view.launch = true;
    // The edit took the row away (as a lock during the dialog would), so
    // another Item now lies under the pointer when the button comes up.
    view.onEdit = [this] { view.Model().RemoveRow(1); };
    DoubleClick(1, kColNote, &RunPostedEvents);
    RunPostedEvents();
    EXPECT_EQ(view.edits, 1);
    EXPECT_EQ(fakes.clipboard.copies, 1);
    EXPECT_EQ(fakes.clipboard.text, "pw-bravo");

    view.Model().RemoveAllRows();
    AddFourItems();
    view.onEdit = [this] { view.Model().RemoveRow(1); };
    DoubleClick(1, kColLocation, &RunPostedEvents);
    RunPostedEvents();
    EXPECT_EQ(view.launches, (std::vector<std::string>{"ftp://bravo"}));
}

TEST_F(ItemListViewTest, WithSeveralRowsSelectedTheTopOneIsUsed) {
    AddFourItems();
    Click(2, kColPassword);
    EXPECT_EQ(fakes.clipboard.text, "pw-charlie");
    Click(3, kColPassword, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.text, "pw-charlie");
    Click(1, kColPassword, Qt::ControlModifier);
    EXPECT_EQ(fakes.clipboard.text, "pw-bravo");
    EXPECT_EQ(view.FirstSelectedRow(), 1);

    // The selection follows its rows when an Item sorts in above them.
    AddItem("Aardvark", "", "pw-aardvark");
    EXPECT_EQ(view.FirstSelectedRow(), 2);
    view.OnCopyPassword();
    EXPECT_EQ(fakes.clipboard.text, "pw-bravo");

    view.clearSelection();
    EXPECT_EQ(view.FirstSelectedRow(), -1);
}

TEST_F(ItemListViewTest, SelectHintComesOnceARunAndCopiesNothing) {
    AddFourItems();
    view.CopySelectedPassword();
    view.CopySelectedPassword();
    EXPECT_EQ(fakes.prompter.texts, QStringList{kSelectHint});
    EXPECT_EQ(fakes.prompter.icons.front(), PromptIcon::Information);
    EXPECT_EQ(fakes.clipboard.copies, 0);
}

TEST_F(ItemListViewTest, CopyPasswordCommandShowsItsHintOnceUntilHintsAreRestored) {
    AddFourItems();
    Click(1, kColUrl);
    const int copiesBefore = fakes.clipboard.copies;

    view.OnCopyPassword();
    EXPECT_EQ(fakes.prompter.texts, QStringList{kListCopyHint});
    EXPECT_EQ(store.GetInt("Newbie", "ListCopy", 1), 0);
    EXPECT_EQ(view.activity, 1);
    EXPECT_EQ(fakes.clipboard.copies, copiesBefore + 1);
    EXPECT_EQ(fakes.clipboard.text, "pw-bravo");

    view.OnCopyPassword();
    EXPECT_EQ(fakes.prompter.texts.size(), 1);
    EXPECT_EQ(view.activity, 2);

    RestoreNewUserHints(store);
    view.OnCopyPassword();
    EXPECT_EQ(fakes.prompter.texts, (QStringList{kListCopyHint, kListCopyHint}));
    EXPECT_EQ(fakes.clipboard.copies, copiesBefore + 3);
}

// Checks the five items; Delete and Edit are enabled exactly when unlocked
// here, as the locked list has no rows to select.
void ExpectMenu(const QMenu& menu, bool unlocked) {
    EXPECT_EQ(menu.title(), QStringLiteral("Dummy"));
    const QStringList texts = {QStringLiteral("&Unlock..."), QStringLiteral("&Add Item..."),
                               QStringLiteral("&Delete Item"), QStringLiteral("&Edit Item..."),
                               QStringLiteral("&Preferences...")};
    const int ids[] = {32773, 32774, 32775, 32778, 32771};
    const bool enabled[] = {!unlocked, unlocked, unlocked, unlocked, true};
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 5);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i]->text(), texts[i]);
        EXPECT_EQ(actions[i]->data().toInt(), ids[i]);
        EXPECT_EQ(actions[i]->isEnabled(), enabled[i]) << i;
    }
}

TEST_F(ItemListViewTest, ContextMenuEnablingAndPlaceFollowTheLockState) {
    view.unlocked = false;
    std::unique_ptr<QMenu> locked = view.BuildContextMenu();
    ASSERT_NE(locked, nullptr);
    ExpectMenu(*locked, false);
    EXPECT_EQ(view.ContextMenuPoint(QPoint(33, 44)), QPoint(33, 44));

    view.unlocked = true;
    AddFourItems();
    EXPECT_EQ(view.BuildContextMenu(), nullptr);
    view.ShowContextMenu(CellCenter(1, 0));  // returns at once: no menu to wait for
    EXPECT_EQ(view.activity, 1);
    EXPECT_TRUE(view.commands.empty());

    Click(1, kColHint);
    const std::unique_ptr<QMenu> menu = view.BuildContextMenu();
    ASSERT_NE(menu, nullptr);
    ExpectMenu(*menu, true);
    const int rowHeight = view.visualRect(view.Model().index(1, 0)).height();
    ASSERT_GT(rowHeight, 0);
    EXPECT_EQ(view.ContextMenuPoint(QPoint(33, 44)), QPoint(33, 44 + rowHeight));
}

TEST_F(ItemListViewTest, RightClickRunsTheChosenCommandAfterSignallingActivity) {
    AddFourItems();
    Click(2, kColHint);
    // Choose "Edit Item" in the menu once it is open.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        for (QAction* action : menu->actions()) {
            if (action->data().toInt() == ID_EDIT_EDIT_ITEM) menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, CellCenter(2, 3),
                                 view.viewport()->mapToGlobal(CellCenter(2, 3)));
    QApplication::sendEvent(view.viewport(), &rightClick);
    EXPECT_EQ(view.commands, (std::vector<int>{ID_EDIT_EDIT_ITEM}));
    EXPECT_EQ(view.activityAtCommand, 1);
}

}  // namespace
