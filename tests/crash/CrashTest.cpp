// Kills a program that saves whole Item lists in a loop at random moments,
// converting the vault between its two formats every fourth save;
// after every kill the store must open and hold exactly one complete
// generation. KEYNEST_CRASH_KILLS sets the number of kills (100 by default).

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "settings/RegistryStore.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

extern char** environ;

namespace {

// Starts the saver with its output on a pipe; `output` gets the reading end.
pid_t StartSaver(const std::string& store, int& output) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::string program = KEYNEST_CRASH_SAVER;
    std::string argument = store;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    output = pipeEnds[0];
    return spawned == 0 ? child : -1;
}

// The last generation the saver reported as stored, 0 for none.
int LastReported(int output) {
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(output, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
    ::close(output);
    const size_t end = text.rfind('\n');
    if (end == std::string::npos) return 0;
    const size_t start = text.rfind('\n', end - 1);
    return std::stoi(text.substr(start == std::string::npos ? 0 : start + 1, end));
}

TEST(CrashTest, EveryKillLeavesOneWholeGeneration) {
    const char* setting = std::getenv("KEYNEST_CRASH_KILLS");
    const int kills = setting ? std::atoi(setting) : 100;
    keynest_test::TempDir dir;
    const std::string file = dir.File("keynest.sqlite");
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMs(20, 200);
    int intact = 0;
    int mixed = 0;
    int lost = 0;
    int lastGeneration = 0;
    for (int kill = 0; kill < kills; ++kill) {
        int output = -1;
        const pid_t saver = StartSaver(file, output);
        ASSERT_GT(saver, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ::waitpid(saver, &status, 0);
        const int reported = LastReported(output);

        CRegistryStore store(file);
        ASSERT_TRUE(store.OpenProgramBranch("")) << store.LastError();
        CVault vault(store);
        if (!vault.HasCheckValue()) continue;  // killed before the first commit
        ASSERT_TRUE(vault.Unlock("crash"));
        CMemoryItemList list;
        const ItemLoadResult loaded = vault.LoadAllItems(list);
        ASSERT_TRUE(loaded.ok);
        std::set<std::string> generations;
        for (int row = 0; row < list.RowCount(); ++row) {
            generations.insert(list.GetText(row, kColNote));
        }
        if (list.RowCount() == 0) {
            // The first password is stored with an empty list.
            if (reported > 0) ++lost;
            else ++intact;
        } else if (generations.size() != 1 || list.RowCount() != 40 || loaded.unread != 0) {
            ++mixed;
        } else {
            // Each run counts from 1; what it reported stored must be there.
            const int generation = std::stoi(*generations.begin());
            if (reported > 0 && generation < reported) {
                ++lost;
            } else {
                ++intact;
            }
            lastGeneration = generation;
        }
    }
    std::printf("crash test: %d kills, %d intact, %d mixed, %d lost (last generation %d)\n",
                kills, intact, mixed, lost, lastGeneration);
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(lost, 0);
}

}  // namespace
