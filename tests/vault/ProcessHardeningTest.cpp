// No core files or ptrace access, and freed memory wiped in a restarted
// program whose children still get the user's own environment.

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>

#include <array>
#include <cstdio>
#include <string>

#include "vault/ProcessHardening.h"

namespace {

std::string RunProbe(const std::string& environment) {
    const std::string command = "env -u GLIBC_TUNABLES " + environment + " " KEYNEST_WIPE_PROBE;
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
        ::pclose(pipe);
    }
    return output;
}

TEST(ProcessHardeningTest, FreedBlocksAreFilledAndTheUsersTunablesComeBack) {
    EXPECT_EQ(RunProbe(""), "wiped (unset)\n");
    EXPECT_EQ(RunProbe("GLIBC_TUNABLES=glibc.malloc.check=0"), "wiped glibc.malloc.check=0\n");
}

TEST(ProcessHardeningTest, NoCoreFileAndNoDumpableMemory) {
    ASSERT_TRUE(ForbidMemoryDumps());
    rlimit core{};
    ASSERT_EQ(::getrlimit(RLIMIT_CORE, &core), 0);
    EXPECT_EQ(core.rlim_cur, 0u);
    EXPECT_EQ(::prctl(PR_GET_DUMPABLE), 0);
}

}  // namespace
