#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "generator/PasswordGenerator.h"

namespace {

// Fills `value` from /dev/urandom; used only when getrandom is unavailable.
bool ReadUrandom(std::uint32_t& value) {
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    auto* bytes = reinterpret_cast<unsigned char*>(&value);
    size_t done = 0;
    while (done < sizeof value) {
        const ssize_t got = ::read(fd, bytes + done, sizeof value - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    return done == sizeof value;
}

std::uint32_t RandomWord() {
    std::uint32_t value = 0;
    for (;;) {
        const ssize_t got = ::getrandom(&value, sizeof value, 0);
        if (got == static_cast<ssize_t>(sizeof value)) return value;
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got >= 0) continue;  // a short read: draw the whole word again
        break;
    }
    if (ReadUrandom(value)) return value;
    // No source of randomness at all: a password manager must not hand out
    // predictable passwords, so stop rather than fall back to a weak source.
    std::abort();
}

}  // namespace

std::uint32_t COsRandomSource::UniformBelow(std::uint32_t bound) {
    if (bound <= 1) return 0;
    // Words below 2^32 mod bound would make the low residues more likely;
    // drawing again in that case leaves every residue equally likely.
    const std::uint32_t threshold = (0u - bound) % bound;
    for (;;) {
        const std::uint32_t word = RandomWord();
        if (word >= threshold) return word % bound;
    }
}
