#include "vault/hardened/KeyDerivation.h"

#include <cstring>
#include <exception>

#include <botan/argon2.h>

namespace {

constexpr std::uint8_t kArgon2id = 2;
// Tests use a few KiB; 1 GiB and 16 passes bound what a damaged or hostile
// header can make an unlock cost (about 20 times the default).
constexpr std::uint32_t kMinMemoryKiB = 8;
constexpr std::uint32_t kMaxMemoryKiB = 1024 * 1024;
constexpr std::uint32_t kMaxIterations = 16;
constexpr std::uint32_t kMaxLanes = 16;

}  // namespace

bool IsAcceptableKdf(const KdfParams& params) {
    return params.lanes >= 1 && params.lanes <= kMaxLanes && params.iterations >= 1 &&
           params.iterations <= kMaxIterations && params.memoryKiB >= kMinMemoryKiB * params.lanes &&
           params.memoryKiB <= kMaxMemoryKiB;
}

bool DeriveKeyArgon2id(std::string_view password, std::span<const std::uint8_t> salt, const KdfParams& params,
                       std::span<std::uint8_t> key, std::span<const std::uint8_t> secret,
                       std::span<const std::uint8_t> associatedData) {
    std::memset(key.data(), 0, key.size());
    if (!IsAcceptableKdf(params)) return false;
    try {
        // The working memory is freed before this returns; the programs fill
        // every freed block (vault/ProcessHardening), so no copy outlives it.
        Botan::argon2(key.data(), key.size(), password.data(), password.size(), salt.data(), salt.size(),
                      secret.data(), secret.size(), associatedData.data(), associatedData.size(), kArgon2id,
                      params.lanes, params.memoryKiB, params.iterations);
        return true;
    } catch (const std::exception&) {
        explicit_bzero(key.data(), key.size());
        return false;
    }
}
