#pragma once

// One run of Keynest over fakes: the real store file, main window and view,
// with prompts answered by a FakePrompter and dialogs driven by timers.

#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>

#include "ChoosePasswordDlg.h"
#include "EventLoopWait.h"
#include "FakeServices.h"
#include "ItemListModel.h"
#include "KeynestView.h"
#include "MainFrame.h"
#include "ModalDriver.h"
#include "RegistryStore.h"
#include "UnlockDlg.h"

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

    CRegistryStore store;
    std::unique_ptr<CMainFrame> frame;
    CKeynestView* view = nullptr;
};

/// Types `password` into both boxes of the next choose-password dialog.
inline void ChooseInDialog(const QString& password) {
    WhenModal<CChoosePasswordDlg>([password](CChoosePasswordDlg* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("firstEdit"))->setText(password);
        dialog->findChild<QLineEdit*>(QStringLiteral("secondEdit"))->setText(password);
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
}

/// Types `password` into the next UnLock dialog and presses OK.
inline void UnlockInDialog(const QString& password) {
    WhenModal<CUnlockDlg>([password](CUnlockDlg* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(password);
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
}

/// Starts a run and unlocks it with `password`, choosing it on first use.
inline std::unique_ptr<Program> StartUnlocked(const std::string& file, FakeServices& fakes,
                                              const QString& password) {
    {
        CRegistryStore probe(file);
        probe.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        if (probe.GetString("Keynest", "Password", "").empty()) {
            ChooseInDialog(password);
        } else {
            UnlockInDialog(password);
        }
    }
    auto run = std::make_unique<Program>(file, fakes);
    WaitUntil([&] { return run->view->IsUnlocked(); });
    return run;
}

/// Adds an Item directly to the rows and stores the list.
inline void AddRow(Program& run, const std::string& location, const std::string& password) {
    const int row = run.Rows().AppendRow(location);
    run.Rows().SetText(row, kColPassword, password);
    run.view->SaveAllItems();
}

}  // namespace keynest_test
