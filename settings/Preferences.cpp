#include "settings/Preferences.h"

#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"

namespace {

using StoreNames::kList;
using StoreNames::kNewbie;
using StoreNames::kPrefs;
using StoreNames::kScreen;
constexpr int kMinutesToMs = 60000;

}  // namespace

std::string FullCharSet() {
    std::string set;
    for (char c = '!'; c <= '~'; ++c) set += c;
    return set;
}

std::uint32_t Preferences::DogTimeMs() const {
    if (dog == 0) return kInfinite;
    return static_cast<std::uint32_t>(dogTimeMinutes) * kMinutesToMs;
}

Preferences LoadPreferences(CRegistryStore& store) {
    Preferences prefs;
    prefs.createOnAdd = store.GetInt(kPrefs, "CreateOnAdd", 1);
    prefs.emptyClipboard = store.GetInt(kPrefs, "Empty", 0);
    prefs.makePwdRadio = store.GetInt(kPrefs, "MakePwdRadio", 0);
    if (prefs.makePwdRadio < 0 || prefs.makePwdRadio > 1) {
        prefs.makePwdRadio = 0;
        store.SetInt(kPrefs, "MakePwdRadio", 0);
    }
    // Compared unsigned, so a negative stored length is out of range too.
    const auto length = static_cast<unsigned>(store.GetInt(kPrefs, "Length", 16));
    prefs.length = length;
    if (length < kMinLength || length > kMaxLength) {
        prefs.length = kMaxLength;
        store.SetInt(kPrefs, "Length", static_cast<int>(kMaxLength));
    }
    prefs.alphaNum = store.GetInt(kPrefs, "AlphaNum", 1);
    prefs.launch = store.GetInt(kPrefs, "Launch", 0);
    // A too-short set is replaced in memory only; the stored text stays.
    prefs.pwdChars = store.GetString(kPrefs, "PwdChars", "");
    if (prefs.pwdChars.size() < 4) prefs.pwdChars = FullCharSet();
    prefs.saveCancel = store.GetInt(kPrefs, "SaveCancel", 1);
    prefs.dog = store.GetInt(kPrefs, "Dog", 1);
    // Out of range, 0 would lock at once after every unlock and a huge
    // value would overflow the millisecond product.
    prefs.dogTimeMinutes = store.GetInt(kPrefs, "DogTime", 5);
    if (prefs.dogTimeMinutes < static_cast<int>(kMinDogTime) ||
        prefs.dogTimeMinutes > static_cast<int>(kMaxDogTime)) {
        prefs.dogTimeMinutes = 5;
        store.SetInt(kPrefs, "DogTime", 5);
    }
    prefs.clipSeconds = store.GetInt(kPrefs, "ClipSeconds", 20);
    if (prefs.clipSeconds < 0 || prefs.clipSeconds > static_cast<int>(kMaxClipSeconds)) {
        prefs.clipSeconds = 20;
        store.SetInt(kPrefs, "ClipSeconds", 20);
    }
    prefs.lockOnDesktop = store.GetInt(kPrefs, "LockOnDesktop", 1);
    prefs.hidePwds = store.GetInt(kPrefs, "HidePwds", 0);
    return prefs;
}

bool SavePreferences(CRegistryStore& store, const Preferences& prefs) {
    CStoreTransaction transaction(store);
    bool ok = store.SetInt(kPrefs, "CreateOnAdd", prefs.createOnAdd);
    ok = store.SetInt(kPrefs, "Empty", prefs.emptyClipboard) && ok;
    ok = store.SetInt(kPrefs, "MakePwdRadio", prefs.makePwdRadio) && ok;
    ok = store.SetInt(kPrefs, "Length", static_cast<int>(prefs.length)) && ok;
    ok = store.SetInt(kPrefs, "AlphaNum", prefs.alphaNum) && ok;
    ok = store.SetInt(kPrefs, "Launch", prefs.launch) && ok;
    ok = store.SetString(kPrefs, "PwdChars", prefs.pwdChars) && ok;
    ok = store.SetInt(kPrefs, "Dog", prefs.dog) && ok;
    ok = store.SetInt(kPrefs, "DogTime", prefs.dogTimeMinutes) && ok;
    ok = store.SetInt(kPrefs, "SaveCancel", prefs.saveCancel) && ok;
    ok = store.SetInt(kPrefs, "ClipSeconds", prefs.clipSeconds) && ok;
    ok = store.SetInt(kPrefs, "LockOnDesktop", prefs.lockOnDesktop) && ok;
    ok = store.SetInt(kPrefs, "HidePwds", prefs.hidePwds) && ok;
    return ok && transaction.Commit();
}

bool SaveHidePasswords(CRegistryStore& store, int hidePwds) {
    return store.SetInt(kPrefs, "HidePwds", hidePwds);
}

bool IsNewUserHintDue(CRegistryStore& store, const char* key) {
    return store.GetInt(kNewbie, key, 1) != 0;
}

void MarkNewUserHintShown(CRegistryStore& store, const char* key) { store.SetInt(kNewbie, key, 0); }

bool RestoreNewUserHints(CRegistryStore& store) {
    CStoreTransaction transaction(store);
    bool ok = true;
    for (const char* key : kNewUserHintKeys) ok = store.SetInt(kNewbie, key, 1) && ok;
    return ok && transaction.Commit();
}

std::array<int, 6> LoadColumnWidths(CRegistryStore& store, int clientWidth) {
    const int fallback = clientWidth * 9 / 60;
    std::array<int, 6> widths{};
    bool fits = true;
    long long sum = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        widths[i] = store.GetInt(kList, "col" + std::to_string(i), fallback);
        // A negative width passes this test, as it always has; the sum
        // test below still applies.
        if (widths[i] == 0 || widths[i] > clientWidth) fits = false;
        sum += widths[i];
    }
    if (!fits || sum > clientWidth) widths.fill(fallback);
    return widths;
}

void SaveColumnWidths(CRegistryStore& store, const std::array<int, 6>& widths) {
    CStoreTransaction transaction(store);
    for (size_t i = 0; i < widths.size(); ++i) {
        store.SetInt(kList, "col" + std::to_string(i), widths[i]);
    }
    transaction.Commit();
}

WindowGeometry LoadWindowGeometry(CRegistryStore& store, int workWidth, int workHeight) {
    WindowGeometry g;
    g.x = store.GetInt(kScreen, "x", 0);
    g.y = store.GetInt(kScreen, "y", 0);
    g.cx = store.GetInt(kScreen, "cx", 0);
    g.cy = store.GetInt(kScreen, "cy", 0);
    if (g.cx >= 1 && g.cy >= 1 && g.x >= 0 && g.y >= 0 && g.cx <= workWidth &&
        g.cy <= workHeight && g.x <= workWidth && g.y <= workHeight) {
        return g;
    }
    // The single-precision 0.95 (0.949999988...) widened to double: an
    // 800-pixel area gives 759, not 760.
    constexpr double kShare = static_cast<double>(0.95f);
    g.cx = static_cast<int>(static_cast<double>(workWidth) * kShare);
    g.cy = static_cast<int>(static_cast<double>(workHeight) * kShare);
    g.x = (workWidth - g.cx) / 2;
    g.y = (workHeight - g.cy) / 2;
    SaveWindowGeometry(store, g);
    return g;
}

void SaveWindowGeometry(CRegistryStore& store, const WindowGeometry& geometry) {
    CStoreTransaction transaction(store);
    store.SetInt(kScreen, "x", geometry.x < 0 ? 0 : geometry.x);
    store.SetInt(kScreen, "y", geometry.y < 0 ? 0 : geometry.y);
    store.SetInt(kScreen, "cx", geometry.cx);
    store.SetInt(kScreen, "cy", geometry.cy);
    transaction.Commit();
}

bool LoadWindowMaximized(CRegistryStore& store) {
    return store.GetInt(kScreen, StoreNames::kMaximized, 0) == 1;
}

void SaveWindowMaximized(CRegistryStore& store, bool maximized) {
    if (LoadWindowMaximized(store) != maximized) {
        store.SetInt(kScreen, StoreNames::kMaximized, maximized ? 1 : 0);
    }
}
