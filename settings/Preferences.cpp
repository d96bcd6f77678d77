#include "settings/Preferences.h"

#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"

#include <cstdlib>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using StoreNames::kList;
using StoreNames::kNewbie;
using StoreNames::kPrefs;
using StoreNames::kScreen;
constexpr int kMinutesToMs = 60000;

/// What loading does with a stored value outside the range.
enum class OutOfRange {
    Rewrite,       ///< the default is used and stored back
    InMemoryOnly,  ///< the default is used; the stored text stays
};

using PreferenceValue = std::variant<int, unsigned, std::string>;

/// One preference: its name in section "Prefs", its field, its default and
/// the values it may take (for a text: its length).
struct PreferenceDecl {
    const char* name;
    PreferenceField field;
    PreferenceValue byDefault;
    long long low = std::numeric_limits<long long>::min();
    long long high = std::numeric_limits<long long>::max();
    OutOfRange whenOut = OutOfRange::Rewrite;
    bool inDialog = true;  ///< shown in the Preferences dialog
};

const std::vector<PreferenceDecl>& Declarations() {
    using P = Preferences;
    static const std::vector<PreferenceDecl> declarations = {
        {"CreateOnAdd", &P::createOnAdd, 1},
        {"Empty", &P::emptyClipboard, 0},
        {"MakePwdRadio", &P::makePwdRadio, 0, 0, 1},
        // Compared unsigned, so a negative stored length is out of range too.
        {"Length", &P::length, kMaxLength, kMinLength, kMaxHardenedLength},
        {"AlphaNum", &P::alphaNum, 1},
        {"Launch", &P::launch, 0},
        // Too short a set cannot make a password; the stored text is kept.
        {"PwdChars", &P::pwdChars, FullCharSet(), 4, std::numeric_limits<long long>::max(),
         OutOfRange::InMemoryOnly},
        {"SaveCancel", &P::saveCancel, 1},
        {"Dog", &P::dog, 1},
        // Out of range, 0 would lock at once after every unlock and a huge
        // value would overflow the millisecond product.
        {"DogTime", &P::dogTimeMinutes, 5, kMinDogTime, kMaxDogTime},
        {"ClipSeconds", &P::clipSeconds, 20, 0, kMaxClipSeconds},
        {"LockOnDesktop", &P::lockOnDesktop, 1},
        {"HidePwds", &P::hidePwds, 0, std::numeric_limits<long long>::min(),
         std::numeric_limits<long long>::max(), OutOfRange::Rewrite, false},
    };
    return declarations;
}

const PreferenceDecl& DeclarationOf(const PreferenceField& field) {
    for (const PreferenceDecl& decl : Declarations()) {
        if (decl.field == field) return decl;
    }
    // Every field of the struct is declared.
    std::abort();
}

template <class T>
using Member = T Preferences::*;

int ReadStored(CRegistryStore& store, const char* name, int byDefault) {
    return store.GetInt(kPrefs, name, byDefault);
}
unsigned ReadStored(CRegistryStore& store, const char* name, unsigned byDefault) {
    return static_cast<unsigned>(store.GetInt(kPrefs, name, static_cast<int>(byDefault)));
}
std::string ReadStored(CRegistryStore& store, const char* name, const std::string& byDefault) {
    return store.GetString(kPrefs, name, byDefault);
}

bool WriteStored(CRegistryStore& store, const char* name, int value) {
    return store.SetInt(kPrefs, name, value);
}
bool WriteStored(CRegistryStore& store, const char* name, unsigned value) {
    return store.SetInt(kPrefs, name, static_cast<int>(value));
}
bool WriteStored(CRegistryStore& store, const char* name, const std::string& value) {
    return store.SetString(kPrefs, name, value);
}

long long Measure(int value) { return value; }
long long Measure(unsigned value) { return value; }
long long Measure(const std::string& value) { return static_cast<long long>(value.size()); }

template <class T>
void LoadOne(CRegistryStore& store, const PreferenceDecl& decl, Member<T> member, Preferences& prefs) {
    const T& byDefault = std::get<T>(decl.byDefault);
    T value = ReadStored(store, decl.name, byDefault);
    const long long measured = Measure(value);
    if (measured < decl.low || measured > decl.high) {
        value = byDefault;
        if (decl.whenOut == OutOfRange::Rewrite) WriteStored(store, decl.name, value);
    }
    prefs.*member = std::move(value);
}

void ResetOne(const PreferenceDecl& decl, Preferences& prefs) {
    std::visit(
        [&decl, &prefs](auto member) {
            using T = std::remove_reference_t<decltype(prefs.*member)>;
            prefs.*member = std::get<T>(decl.byDefault);
        },
        decl.field);
}

bool SaveOne(CRegistryStore& store, const PreferenceDecl& decl, const Preferences& prefs) {
    return std::visit([&](auto member) { return WriteStored(store, decl.name, prefs.*member); },
                      decl.field);
}

}  // namespace

std::string FullCharSet() {
    std::string set;
    for (char c = '!'; c <= '~'; ++c) set += c;
    return set;
}

Preferences::Preferences() {
    for (const PreferenceDecl& decl : Declarations()) ResetOne(decl, *this);
}

std::uint32_t Preferences::DogTimeMs() const {
    if (dog == 0) return kInfinite;
    return static_cast<std::uint32_t>(dogTimeMinutes) * kMinutesToMs;
}

Preferences LoadPreferences(CRegistryStore& store) {
    Preferences prefs;
    for (const PreferenceDecl& decl : Declarations()) {
        std::visit([&](auto member) { LoadOne(store, decl, member, prefs); }, decl.field);
    }
    return prefs;
}

bool SavePreferences(CRegistryStore& store, const Preferences& prefs) {
    CStoreTransaction transaction(store);
    bool ok = true;
    for (const PreferenceDecl& decl : Declarations()) ok = SaveOne(store, decl, prefs) && ok;
    return ok && transaction.Commit();
}

bool SavePreference(CRegistryStore& store, const Preferences& prefs, PreferenceField field) {
    return SaveOne(store, DeclarationOf(field), prefs);
}

PreferenceRange RangeOf(PreferenceField field) {
    const PreferenceDecl& decl = DeclarationOf(field);
    return {static_cast<unsigned>(decl.low), static_cast<unsigned>(decl.high)};
}

void ResetDialogPreferences(Preferences& prefs) {
    for (const PreferenceDecl& decl : Declarations()) {
        if (decl.inDialog) ResetOne(decl, prefs);
    }
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
