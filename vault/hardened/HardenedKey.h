#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "vault/hardened/KeyDerivation.h"

class CRegistryStore;

/// What an unlocked hardened vault holds: the derivation's parameters and
/// salt, the key derived from the UnLock password, and the save generation
/// and Item count its verifier vouches for. Wiped when it goes.
struct HardenedKey {
    KdfParams kdf;
    std::array<std::uint8_t, kVaultSaltBytes> salt{};
    std::array<std::uint8_t, kVaultKeyBytes> key{};
    std::uint64_t generation = 0;
    int count = 0;

    HardenedKey() = default;
    ~HardenedKey() { Wipe(); }
    HardenedKey(const HardenedKey&) = delete;
    HardenedKey& operator=(const HardenedKey&) = delete;
    void Wipe();
};

/// True when the store holds a hardened vault's header.
bool IsHardenedStore(CRegistryStore& store);

/// Derives `out.key` from `password` with `params` and a fresh random salt;
/// generation and count start at 0. False when the derivation failed.
[[nodiscard]] bool MakeHardenedKey(const std::string& password, const KdfParams& params, HardenedKey& out);

/// Reads the header, derives the key from `password` and opens the
/// verifier. False, with `out` wiped, for a wrong password or a damaged or
/// unacceptable header: the two cannot be told apart.
[[nodiscard]] bool OpenHardenedKey(CRegistryStore& store, const std::string& password, HardenedKey& out);

/// Writes the header of `key` with a verifier for `generation` and `count`
/// (in the caller's transaction). The check value of the first format goes.
[[nodiscard]] bool StoreHardenedHeader(CRegistryStore& store, const HardenedKey& key, std::uint64_t generation,
                                       int count);

/// Deletes the hardened header's values.
[[nodiscard]] bool EraseHardenedHeader(CRegistryStore& store);
