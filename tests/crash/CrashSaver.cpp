// Saves generation after generation of a whole Item list until it is
// killed: generation g holds kItems Items whose Notes all read "g". Every
// fourth generation is stored by converting the vault to the other format.
// Usage: keynest_crash_saver STORE_FILE

#include <unistd.h>

#include <string>

#include "settings/RegistryStore.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

namespace {
constexpr int kItems = 40;
}

int main(int argc, char** argv) {
    if (argc != 2) return 1;
    CRegistryStore store(argv[1]);
    if (!store.OpenProgramBranch("")) return 2;
    CVault vault(store);
    if (vault.HasCheckValue() ? !vault.Unlock("crash") : !vault.ChooseFirstPassword("crash")) return 3;
    for (int generation = 1;; ++generation) {
        CMemoryItemList list;
        for (int i = 0; i < kItems; ++i) {
            const int row = list.AppendRow("site" + std::to_string(i));
            list.SetText(row, kColNote, std::to_string(generation));
            list.SetText(row, kColPassword, "pw");
        }
        bool saved = false;
        if (generation % 4 != 0) {
            saved = vault.SaveAllItems(list);
        } else if (vault.Format() == VaultFormat::kKeyText) {
            saved = vault.ConvertToHardened(list, {64, 1, 1});
        } else {
            saved = vault.ConvertToKeyText(list) == ConvertRefusal::kNone;
        }
        if (!saved) return 4;
        // Tell the driver which generation is stored now.
        const std::string line = std::to_string(generation) + "\n";
        if (::write(1, line.data(), line.size()) < 0) return 5;
    }
}
