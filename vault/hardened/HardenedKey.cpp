#include "vault/hardened/HardenedKey.h"

#include <charconv>
#include <cstring>

#include <botan/system_rng.h>

#include "settings/RegistryStore.h"
#include "settings/StoreNames.h"
#include "vault/HexText.h"
#include "vault/hardened/FieldCipher.h"

namespace {

using namespace StoreNames;

// The verifier is sealed for a fixed place: its text carries the generation.
std::string VerifierPlace() { return FieldPlace(kKeynest, kVerifier, 0); }

std::string VerifierText(std::uint64_t generation, int count) {
    return std::to_string(generation) + " " + std::to_string(count);
}

bool ParseVerifierText(const std::string& text, std::uint64_t& generation, int& count) {
    const char* end = text.data() + text.size();
    const auto [afterGeneration, error1] = std::from_chars(text.data(), end, generation);
    if (error1 != std::errc() || afterGeneration == end || *afterGeneration != ' ') return false;
    const auto [afterCount, error2] = std::from_chars(afterGeneration + 1, end, count);
    return error2 == std::errc() && afterCount == end && count >= 0;
}

bool ReadUnsigned(CRegistryStore& store, const char* name, std::uint32_t& value) {
    const std::string text = store.GetString(kKeynest, name, "");
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

void HardenedKey::Wipe() {
    explicit_bzero(key.data(), key.size());
    salt.fill(0);
    generation = 0;
    count = 0;
}

bool IsHardenedStore(CRegistryStore& store) { return store.GetString(kKeynest, kFormat, "") == kHardenedFormat; }

bool MakeHardenedKey(const std::string& password, const KdfParams& params, HardenedKey& out) {
    out.Wipe();
    out.kdf = params;
    try {
        Botan::system_rng().randomize(out.salt.data(), out.salt.size());
    } catch (const std::exception&) {
        return false;
    }
    return DeriveKeyArgon2id(password, out.salt, params, out.key);
}

bool OpenHardenedKey(CRegistryStore& store, const std::string& password, HardenedKey& out) {
    out.Wipe();
    const std::string salt = store.GetString(kKeynest, kSalt, "");
    bool ok = IsHardenedStore(store) && salt.size() == 2 * out.salt.size() && IsHexDigitText(salt) &&
              ReadUnsigned(store, kKdfMemoryKiB, out.kdf.memoryKiB) &&
              ReadUnsigned(store, kKdfIterations, out.kdf.iterations) &&
              ReadUnsigned(store, kKdfLanes, out.kdf.lanes);
    if (ok) {
        ReadHexBytes(salt, out.salt.data());
        ok = DeriveKeyArgon2id(password, out.salt, out.kdf, out.key);
    }
    std::string text;
    if (ok) {
        CFieldCipher cipher(out.key);
        ok = cipher.Open(store.GetString(kKeynest, kVerifier, ""), VerifierPlace(), text) &&
             ParseVerifierText(text, out.generation, out.count);
    }
    if (!ok) out.Wipe();
    return ok;
}

bool StoreHardenedHeader(CRegistryStore& store, const HardenedKey& key, std::uint64_t generation, int count) {
    CFieldCipher cipher(key.key);
    const std::string verifier = cipher.Seal(VerifierText(generation, count), VerifierPlace());
    std::string salt;
    AppendHexBytes(key.salt.data(), key.salt.size(), salt);
    return !verifier.empty() && store.SetString(kKeynest, kFormat, kHardenedFormat) &&
           store.SetString(kKeynest, kSalt, salt) &&
           store.SetString(kKeynest, kKdfMemoryKiB, std::to_string(key.kdf.memoryKiB)) &&
           store.SetString(kKeynest, kKdfIterations, std::to_string(key.kdf.iterations)) &&
           store.SetString(kKeynest, kKdfLanes, std::to_string(key.kdf.lanes)) &&
           store.SetString(kKeynest, kVerifier, verifier) && store.DeleteValue(kKeynest, kPassword);
}

bool EraseHardenedHeader(CRegistryStore& store) {
    for (const char* name : {kFormat, kSalt, kKdfMemoryKiB, kKdfIterations, kKdfLanes, kVerifier}) {
        if (!store.DeleteValue(kKeynest, name)) return false;
    }
    return true;
}
