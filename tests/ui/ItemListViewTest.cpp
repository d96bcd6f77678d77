// The Item list driven by mouse and keys: click routing by column, the
// deferred Location click and the double-click guard, the clipboard, the
// hints and the context menu.

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

#include "ui/CommandStates.h"
#include "FakeServices.h"
#include "ui/ItemListModel.h"
#include "ui/ItemListView.h"
#include "settings/Preferences.h"
#include "TestSupport.h"

namespace {

using Strings = std::vector<std::string>;

const QString kSelectHint = QStringLiteral(
    "Please select an Item. \n\nIts Password can then be \ncopied to the Clipboard.");
const QString kListCopyHint = QStringLiteral(
    "New User Hint...\n\nEvery time an item in the list is clicked, \nits password is copied to "
    "the Clipboard.\n\nHit F1 for Help at anytime.");

// The list view with its hooks recorded instead of reaching the program.
class CTestListView final : public CItemListView {
  public:
    using CItemListView::CItemListView;

    bool unlocked = true;
    bool launch = true;
    int activity = 0;
    int edits = 0;
    Strings launches;
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

class ItemListViewTest : public ::testing::Test, protected keynest_test::TempStore {
  protected:
    void SetUp() override {
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
    void ClickAt(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, point);
    }
    void Click(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ClickAt(CellCenter(row, column), modifiers);
    }
    // What the window system delivers for a double-click: press, release,
    // press, double-click, release.
    void DoubleClick(int row, int column, const std::function<void()>& betweenClicks = {}) {
        const QPoint point = CellCenter(row, column);
        ClickAt(point);
        if (betweenClicks) betweenClicks();
        QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }
    static void RunPostedEvents() { QCoreApplication::sendPostedEvents(); }

    keynest_test::FakeServices fakes;
    CTestListView view{fakes.AsServices(), m_store};
};

TEST_F(ItemListViewTest, ClickOnAnyColumnButTheLocationCopiesExactlyThePasswordAtOnce) {
    AddItem("Bytes", "http://bytes", " p\xC3\xA4ss w\xE9 ");
    AddItem("Empty", "http://empty", "");
    for (int column = kColUrl; column < kItemColumnCount; ++column) {
        Click(0, column);
        EXPECT_EQ(fakes.clipboard.text, " p\xC3\xA4ss w\xE9 ") << column;
    }
    Click(1, kColPassword);
    EXPECT_EQ(fakes.clipboard.text, "");
    RunPostedEvents();
    EXPECT_EQ(fakes.clipboard.copies, 6);
    EXPECT_TRUE(view.launches.empty());

    // Below the rows or right of the columns nothing happens.
    ClickAt(QPoint(50, 380));
    ClickAt(QPoint(680, CellCenter(1, 0).y()));
    RunPostedEvents();
    EXPECT_EQ(fakes.clipboard.copies, 6);
    EXPECT_EQ(view.activity, 0);
    EXPECT_TRUE(fakes.prompter.texts.isEmpty());
}

TEST_F(ItemListViewTest, LocationClickCopiesOnceDoneAndOpensOnlyWebAndFtpAddressesWhenLaunchIsOn) {
    const struct {
        const char* url;
        bool launchOn;
        bool launched;
    } cases[] = {{"hTTp://mixed.example", true, true},
                 {"HTTPS://upper.example", true, true},
                 {"ftp:", true, true},
                 {"Ftp://files", true, true},
                 {"xhttp://later", true, false},
                 {" http://blank", true, false},
                 {"www.example.com", true, false},
                 {"htt", true, false},
                 {"", true, false},
                 {"http://off.example", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        view.Model().RemoveAllRows();
        view.launches.clear();
        fakes.clipboard.text.clear();
        AddItem("Site", c.url, "secret");
        view.launch = c.launchOn;
        const int activity = view.activity;
        Click(0, kColLocation);
        // Nothing happens until the click is done.
        EXPECT_EQ(fakes.clipboard.text, "");
        EXPECT_EQ(view.activity, activity);
        RunPostedEvents();
        EXPECT_EQ(view.activity, activity + 1);
        EXPECT_EQ(fakes.clipboard.text, "secret");
        EXPECT_EQ(view.launches, c.launched ? Strings{c.url} : Strings{});
    }
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

TEST_F(ItemListViewTest, DoubleClickEditsAndCopiesOrLaunchesAtMostOnce) {
    const struct {
        const char* name;
        int column;
        bool clickHandledFirst;  // the deferred click runs before the second press
        bool editRemovesRow;     // the edit moves another Item under the pointer
        int copies;
        Strings launches;
    } cases[] = {
        // The Item dialog's modal loop runs the pending deferred click: ignored.
        {"deferred click during the double-click", kColLocation, false, false, 0, {}},
        {"handled click, then the double-click", kColLocation, true, false, 1, {"ftp://bravo"}},
        {"handled click, rows moved by the edit", kColLocation, true, true, 1, {"ftp://bravo"}},
        // The release that ends the double-click does not copy again.
        {"click on another column", kColNote, false, false, 1, {}},
        {"click on another column, rows moved by the edit", kColNote, true, true, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view.Model().RemoveAllRows();
        AddFourItems();
        view.launches.clear();
        fakes.clipboard = {};
        bool editSawDoubleClick = false;
        view.onEdit = [&] {
            editSawDoubleClick = view.InDoubleClick();
            RunPostedEvents();
            if (c.editRemovesRow) view.Model().RemoveRow(1);
        };
        const int edits = view.edits;
        DoubleClick(1, c.column, c.clickHandledFirst ? &RunPostedEvents : nullptr);
        RunPostedEvents();
        EXPECT_EQ(view.edits, edits + 1);
        EXPECT_TRUE(editSawDoubleClick);
        EXPECT_FALSE(view.InDoubleClick());
        EXPECT_EQ(fakes.clipboard.copies, c.copies);
        EXPECT_EQ(fakes.clipboard.text, c.copies > 0 ? "pw-bravo" : "<untouched>");
        EXPECT_EQ(view.launches, c.launches);
    }
    // A plain click after a double-click is a click again.
    Click(0, kColPassword);
    EXPECT_EQ(fakes.clipboard.copies, 2);
    EXPECT_EQ(fakes.clipboard.text, "pw-alpha");
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

TEST_F(ItemListViewTest, HintsComeOnceAndTheCopyHintAgainWhenRestored) {
    AddFourItems();
    // Without a selection: the select hint, once a run, and no copy.
    view.CopySelectedPassword();
    view.CopySelectedPassword();
    EXPECT_EQ(fakes.prompter.texts, QStringList{kSelectHint});
    EXPECT_EQ(fakes.prompter.icons.front(), PromptIcon::Information);
    EXPECT_EQ(fakes.clipboard.copies, 0);

    fakes.prompter.texts.clear();
    Click(1, kColUrl);
    view.OnCopyPassword();
    EXPECT_EQ(fakes.prompter.texts, QStringList{kListCopyHint});
    EXPECT_EQ(m_store.GetInt("Newbie", "ListCopy", 1), 0);
    EXPECT_EQ(view.activity, 1);
    EXPECT_EQ(fakes.clipboard.copies, 2);
    EXPECT_EQ(fakes.clipboard.text, "pw-bravo");

    view.OnCopyPassword();
    EXPECT_EQ(fakes.prompter.texts.size(), 1);
    EXPECT_EQ(view.activity, 2);
    RestoreNewUserHints(m_store);
    view.OnCopyPassword();
    EXPECT_EQ(fakes.prompter.texts, (QStringList{kListCopyHint, kListCopyHint}));
    EXPECT_EQ(fakes.clipboard.copies, 4);
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
    EXPECT_EQ(view.commands, std::vector<int>{ID_EDIT_EDIT_ITEM});
    EXPECT_EQ(view.activityAtCommand, 1);
}

}  // namespace
