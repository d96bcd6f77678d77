#pragma once

// The whole program over a store in a given file: the main window with its
// view, started the way main() starts it.

#include <QDialog>

#include "EventLoopWait.h"
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/KeynestView.h"
#include "app/MainFrame.h"
#include "lock/ChoosePasswordDlg.h"
#include "lock/UnlockDlg.h"
#include "ui/list/ItemListModel.h"

namespace keynest_test {

inline const QString kProgramPassword = QStringLiteral("Sesame2024");

/// Answers the next password dialog, the first choice of the UnLock
/// password or the UnLock dialog, with `password`.
inline void AnswerPasswordDialog(const QString& password = kProgramPassword) {
    WhenModal<QDialog>([password](QDialog* dialog) {
        if (auto* box = Box(dialog, "firstEdit")) {
            box->setText(password);
            Box(dialog, "secondEdit")->setText(password);
        } else {
            Box(dialog, "passwordEdit")->setText(password);
        }
        Press(dialog, "okButton");
    });
}

struct Program {
    Program(Services services, const std::string& storePath)
        : store(storePath), frame(store, services.help) {
        EXPECT_TRUE(opened);
        view = new CKeynestView(services, store, &frame);
        frame.SetView(view);
        frame.ShowAsStored();
    }
    ~Program() { frame.close(); }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    /// Starts the program and answers its first dialog, the first choice of
    /// the UnLock password or the UnLock dialog, with `password`. True
    /// once it is unlocked.
    bool Start(const QString& password = kProgramPassword) {
        AnswerPasswordDialog(password);
        view->OnInitialUpdate();
        return WaitUntil([this] { return Unlocked(); });
    }
    bool Unlocked() { return view->Vault().IsUnlocked(); }
    /// Adds an Item and stores the list, as Add Item would.
    bool AddStoredItem(const std::string& location, const std::string& password) {
        CItemListModel& rows = view->Model();
        rows.SetText(rows.AppendRow(location), kColPassword, password);
        return view->Vault().SaveAllItems(rows);
    }

    CRegistryStore store;
    bool opened = store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
    CMainFrame frame;
    CKeynestView* view = nullptr;
};

/// A program in a store of its own, started and unlocked.
struct FreshProgram {
    explicit FreshProgram(Services services) : program(services, dir.File("keynest.sqlite")) {
        EXPECT_TRUE(program.Start());
    }
    TempDir dir;
    Program program;
};

}  // namespace keynest_test
