#pragma once

// The real main view over a private store, shown offscreen, for the plain
// benchmark programs. Make the QApplication first.

#include <QTemporaryDir>

#include "FakeServices.h"
#include "app/KeynestView.h"
#include "settings/RegistryStore.h"

struct BenchView {
    BenchView() {
        store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr);
        view.resize(1000, 700);
        view.show();
    }
    QTemporaryDir dir;
    CRegistryStore store{(dir.path() + QStringLiteral("/bench.sqlite")).toStdString()};
    keynest_test::FakeServices fakes;
    CKeynestView view{fakes.AsServices(), store};
};
