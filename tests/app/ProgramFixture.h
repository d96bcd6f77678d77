#pragma once

// Runs of Keynest over fakes: the real store file, main window and view,
// with prompts answered by a FakePrompter and dialogs driven by timers.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lock/ChoosePasswordDlg.h"
#include "EventLoopWait.h"
#include "FakeServices.h"
#include "ui/ItemDlg.h"
#include "ui/ItemListModel.h"
#include "app/KeynestView.h"
#include "app/MainFrame.h"
#include "ModalDriver.h"
#include "settings/RegistryStore.h"
#include "TestSupport.h"
#include "lock/UnlockDlg.h"

namespace keynest_test {

struct Program {
    Program(const std::string& file, FakeServices& fakes) : store(file) {
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        frame = std::make_unique<CMainFrame>(store, fakes.help);
        view = new CKeynestView(fakes.AsServices(), store, frame.get());
        frame->SetView(view);
        frame->show();
        view->OnInitialUpdate();
    }
    ~Program() {
        if (frame->isVisible()) frame->close();
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    CItemListModel& Rows() { return view->Model(); }
    std::string Check() { return store.GetString("Keynest", "Password", ""); }

    CRegistryStore store;
    std::unique_ptr<CMainFrame> frame;
    CKeynestView* view = nullptr;
};

/// Types `password` into both boxes of the next choose-password dialog.
inline void ChooseInDialog(const QString& password) {
    WhenModal<CChoosePasswordDlg>([password](CChoosePasswordDlg* dialog) {
        Box(dialog, "firstEdit")->setText(password);
        Box(dialog, "secondEdit")->setText(password);
        Press(dialog, "okButton");
    });
}

/// Types `password` into the next UnLock dialog and presses OK.
inline void UnlockInDialog(const QString& password) {
    WhenModal<CUnlockDlg>([password](CUnlockDlg* dialog) {
        Box(dialog, "passwordEdit")->setText(password);
        Press(dialog, "okButton");
    });
}

/// Fills Location and Password of the next Item dialog; presses OK when
/// `confirm`, else leaves it open.
inline void FillItemDialog(const QString& location, const QString& password, bool confirm) {
    WhenModal<CItemDlg>([=](CItemDlg* dialog) {
        Box(dialog, "locationEdit")->setText(location);
        Box(dialog, "passwordEdit")->setText(password);
        if (confirm) Press(dialog, "okButton");
    });
}

/// A test over runs of the program that share one store file.
class ProgramTest : public ::testing::Test {
  protected:
    /// Starts a run and unlocks it with `password`, choosing it on first use.
    std::unique_ptr<Program> StartUnlocked(const QString& password) {
        {
            CRegistryStore probe(m_file);
            probe.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
            if (probe.GetString("Keynest", "Password", "").empty()) {
                ChooseInDialog(password);
            } else {
                UnlockInDialog(password);
            }
        }
        auto run = std::make_unique<Program>(m_file, m_fakes);
        WaitUntil([&] { return run->view->IsUnlocked(); });
        return run;
    }

    TempDir m_dir;
    std::string m_file = m_dir.File("keynest.sqlite");
    FakeServices m_fakes;
};

/// Adds an Item directly to the rows and stores the list.
inline void AddRow(Program& run, const std::string& location, const std::string& password) {
    const int row = run.Rows().AppendRow(location);
    run.Rows().SetText(row, kColPassword, password);
    run.view->SaveAllItems();
}

}  // namespace keynest_test
