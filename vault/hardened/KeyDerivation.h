#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

/// The cost of turning an UnLock password into a key with Argon2id. Stored
/// with each vault, so a vault keeps opening when the defaults change.
struct KdfParams {
    std::uint32_t memoryKiB = 0;
    std::uint32_t iterations = 0;
    std::uint32_t lanes = 0;

    friend bool operator==(const KdfParams&, const KdfParams&) = default;
};

/// 128 MiB and four passes: one derivation takes about 0.55 s of CPU time
/// on the project's 2-core build machine (bench_vault's
/// BM_GuessHardenedFormat). One lane: Botan computes lanes one after another,
/// so more lanes would only help an attacker with many cores.
inline constexpr KdfParams kDefaultKdfParams{128 * 1024, 4, 1};

/// The range of parameters a stored vault may name. Below it a vault would
/// be as cheap to attack as a plain key; above it a damaged or hostile
/// header could make an unlock take hours or all the memory.
bool IsAcceptableKdf(const KdfParams& params);

inline constexpr std::size_t kVaultSaltBytes = 16;
inline constexpr std::size_t kVaultKeyBytes = 32;

/// Argon2id (version 0x13) of `password` and `salt` into `key`. `secret`
/// and `associatedData` are the optional inputs Argon2 defines; the vault
/// uses neither. False when the library refuses the parameters; `key` is
/// then zero.
[[nodiscard]] bool DeriveKeyArgon2id(std::string_view password, std::span<const std::uint8_t> salt,
                                     const KdfParams& params, std::span<std::uint8_t> key,
                                     std::span<const std::uint8_t> secret = {},
                                     std::span<const std::uint8_t> associatedData = {});
