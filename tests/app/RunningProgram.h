#pragma once

// A run of Keynest over the given services in a private store, unlocked
// with a password chosen on its first start.

#include <gtest/gtest.h>

#include <memory>

#include "EventLoopWait.h"
#include "ModalDriver.h"
#include "TestSupport.h"
#include "app/KeynestView.h"
#include "app/MainFrame.h"
#include "lock/ChoosePasswordDlg.h"
#include "platform/Services.h"
#include "ui/ItemListModel.h"

namespace keynest_test {

inline const QString kUnlockPassword = QStringLiteral("Sesame2024");

struct RunningProgram {
    explicit RunningProgram(Services services) {
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        frame = std::make_unique<CMainFrame>(store, services.help);
        view = new CKeynestView(services, store, frame.get());
        frame->SetView(view);
        frame->show();
        WhenModal<CChoosePasswordDlg>([](CChoosePasswordDlg* dialog) {
            Box(dialog, "firstEdit")->setText(kUnlockPassword);
            Box(dialog, "secondEdit")->setText(kUnlockPassword);
            Press(dialog, "okButton");
        });
        view->OnInitialUpdate();
        EXPECT_TRUE(WaitUntil([this] { return view->Vault().IsUnlocked(); }));
    }
    ~RunningProgram() { frame->close(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    CItemListModel& Rows() { return view->Model(); }
    /// Adds an Item with these six texts to the list.
    void Add(const std::array<const char*, kItemColumnCount>& texts) {
        const int row = Rows().AppendRow(texts[0]);
        for (int column = 1; column < kItemColumnCount; ++column) {
            Rows().SetText(row, column, texts[static_cast<size_t>(column)]);
        }
    }

    TempDir dir;
    CRegistryStore store{dir.File("keynest.sqlite")};
    std::unique_ptr<CMainFrame> frame;
    CKeynestView* view = nullptr;
};

}  // namespace keynest_test
