// Restarts itself with freed memory wiped, then says whether a freed block
// still holds its text and what GLIBC_TUNABLES its children would inherit.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vault/ProcessHardening.h"

int main(int /*argc*/, char** argv) {
    RestartWithFreedMemoryWiped(argv);
    auto* block = static_cast<volatile unsigned char*>(std::malloc(64));
    std::memset(const_cast<unsigned char*>(block), 'S', 64);
    std::free(const_cast<unsigned char*>(block));
    // Reading the freed block is the point of this probe. Its first bytes
    // hold the allocator's links; the rest is the old text or the fill.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
    const bool wiped = block[40] == 0xA5;
#pragma GCC diagnostic pop
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::printf("%s %s\n", wiped ? "wiped" : "kept", tunables ? tunables : "(unset)");
    return 0;
}
