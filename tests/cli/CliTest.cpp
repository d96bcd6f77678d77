// keynest-cli run as a program: what each command prints and stores, its
// exit statuses, the clipboard tools and the desktop program's lock.

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "TestSupport.h"
#include "settings/RegistryStore.h"
#include "settings/SingleInstanceLock.h"
#include "vault/ItemList.h"
#include "vault/Vault.h"

using keynest_test::TempDir;

namespace {

constexpr const char* kUnlock = "Unlock#123\n";
constexpr const char* kAmazonPassword = "Shop#2024x";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// `text` as one shell word.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Run({"passwd"}, "Unlock#123\nUnlock#123\n").status, 0);
        ASSERT_EQ(Run({"add", "Amazon"}, std::string(kUnlock) + "https://amazon.example\nbob\n" +
                                             "the usual\nsecond card\n" + kAmazonPassword + "\n")
                      .status,
                  0);
        ASSERT_EQ(Run({"add", "Bank"}, kUnlock).status, 0);
    }

    // Runs keynest-cli (through `m_wrapper`) in the test's folder on its store with
    // `input` on standard input, its own XDG folders and `path` as PATH.
    CliRun Run(std::vector<std::string> args, const std::string& input,
               const std::string& path = "/usr/bin:/bin") {
        if (std::find(args.begin(), args.end(), "--store") == args.end()) {
            args.insert(args.end(), {"--store", m_store});
        }
        const std::string in = m_dir.File("in.txt");
        const std::string out = m_dir.File("out.txt");
        const std::string err = m_dir.File("err.txt");
        std::ofstream(in, std::ios::binary) << input;
        std::string command = "cd " + Quoted(m_dir.Path()) + " && " + m_wrapper +
                              "env -i PATH=" + Quoted(path) + " HOME=" + Quoted(m_dir.Path()) +
                              " XDG_DATA_HOME=" + Quoted(m_dir.File("data")) +
                              " XDG_CONFIG_HOME=" + Quoted(m_dir.File("config")) +
                              " " KEYNEST_CLI_PATH;
        for (const std::string& arg : args) command += " " + Quoted(arg);
        command += " <" + Quoted(in) + " >" + Quoted(out) + " 2>" + Quoted(err);
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
    }

    std::string List() { return Run({"list"}, kUnlock).out; }

    TempDir m_dir;
    std::string m_store = m_dir.File("keynest.sqlite");
    std::string m_wrapper;
};

TEST_F(CliTest, ReadingCommandsPrintWhatWasAsked) {
    struct Case {
        std::vector<std::string> args;
        std::string shown;
        std::string hidden;
    };
    const Case cases[] = {
        {{"list"}, "Amazon\nBank\n", "https"},
        {{"list", "--long"}, "Amazon  https://amazon.example  bob\nBank\n", kAmazonPassword},
        {{"show", "Amazon"},
         "User ID:  bob\nHint:     the usual\nNote:     second card\n",
         kAmazonPassword},
        {{"show", "--password", "Amazon"}, std::string("Password: ") + kAmazonPassword, "Item 1"},
        {{"selftest"}, "All checks passed.", "FAILED"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args, kUnlock);
        EXPECT_EQ(run.status, 0) << c.args[0] << ": " << run.err;
        EXPECT_NE(run.out.find(c.shown), std::string::npos) << c.args[0] << ": " << run.out;
        EXPECT_EQ(run.out.find(c.hidden), std::string::npos) << c.args[0] << ": " << run.out;
    }
    const CliRun generated = Run({"generate", "--length", "8", "--chars", "abcdefgh12"}, "");
    EXPECT_EQ(generated.status, 0);
    EXPECT_EQ(generated.out.size(), 9u);
    EXPECT_EQ(generated.out.find_first_not_of("abcdefgh12A1\n"), std::string::npos);
}

TEST_F(CliTest, EditRemoveAndPasswdStoreTheirChanges) {
    // New Location, URL emptied, the rest kept, a new Password.
    EXPECT_EQ(
        Run({"edit", "Amazon", "--yes"}, std::string(kUnlock) + "Amazon.de\n-\n\n\n\nNew#pass1\n")
            .status,
        0);
    EXPECT_EQ(Run({"rm", "Bank", "--yes"}, kUnlock).status, 0);
    EXPECT_EQ(Run({"show", "-p", "Amazon.de"}, kUnlock).out,
              "Location: Amazon.de\nURL:      \nUser ID:  bob\nHint:     the usual\n"
              "Note:     second card\nPassword: New#pass1\n");
    EXPECT_EQ(Run({"passwd"}, std::string(kUnlock) + "Other#456\nOther#456\n").status, 0);
    EXPECT_EQ(Run({"list"}, kUnlock).status, 2);
    EXPECT_EQ(Run({"list"}, "Other#456\n").out, "Amazon.de\n");
}

TEST_F(CliTest, HardenLiftsTheLimitsAndHealthAndExportsFollowTheFormat) {
    const std::string longPassword(40, 'L');
    const std::string addLong = std::string(kUnlock) + "\n\n\n\n" + longPassword + "\n";
    EXPECT_EQ(Run({"add", "Long", "--yes"}, addLong).status, 1);
    ASSERT_EQ(Run({"harden"}, kUnlock).status, 0);
    EXPECT_EQ(Run({"add", "Long", "--yes"}, addLong).status, 0);
    EXPECT_EQ(Run({"show", "-p", "Long"}, kUnlock).out.find(longPassword) != std::string::npos, true);
    // The classic format cannot hold the long Password: nothing is written.
    EXPECT_EQ(Run({"export", "--format", "classic", "c.kne"}, kUnlock).status, 1);
    EXPECT_FALSE(std::ifstream(m_dir.File("c.kne")).good());
    EXPECT_EQ(Run({"export", "h.kne"}, kUnlock).status, 0);
    EXPECT_EQ(Run({"unharden"}, kUnlock).status, 1);
    // Health: findings without a Password, and a status a script can test.
    const CliRun health = Run({"health"}, kUnlock);
    EXPECT_EQ(health.status, 1);
    EXPECT_NE(health.out.find("Long\t\tpoor strength\t"), std::string::npos) << health.out;
    for (const std::string& secret : {std::string(kAmazonPassword), longPassword}) {
        EXPECT_EQ(health.out.find(secret), std::string::npos);
    }
}

TEST_F(CliTest, ImportWithClearKeepsABackupAndRefusesOtherFiles) {
    const std::string file = m_dir.File("items.kne");
    ASSERT_EQ(Run({"export", m_dir.File("items")}, kUnlock).status, 0);
    EXPECT_EQ(Run({"import", file}, kUnlock).status, 0);
    EXPECT_EQ(List(), "Amazon\nAmazon\nBank\nBank\n");
    EXPECT_EQ(Run({"import", file, "--clear"}, kUnlock).status, 0);
    EXPECT_EQ(List(), "Amazon\nBank\n");
    struct stat backup {};
    ASSERT_EQ(::stat(m_dir.File("savedbak.kne").c_str(), &backup), 0);
    EXPECT_EQ(backup.st_mode & 0777, 0400u);

    // A file that does not read whole imports nothing and names what it
    // could not read; --partial takes the readable Items, but never clears.
    const std::string bytes = ReadAll(file);
    std::ofstream(m_dir.File("cut.kne"), std::ios::binary) << bytes.substr(0, bytes.size() - 5);
    std::ofstream(m_dir.File("empty.kne"), std::ios::binary) << bytes.substr(0, 4);
    ::mkfifo(m_dir.File("fifo.kne").c_str(), 0600);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string said;
    };
    const Case cases[] = {
        {{"cut.kne"}, 4, "1 record of " + m_dir.File("cut.kne") + " could not be read"},
        {{"cut.kne", "--clear", "--partial"}, 4, "cleared only for a file read whole"},
        {{"notes.kne", "--clear"}, 4, "is not an export file"},
        {{"zero.kne", "--clear"}, 4, "is not an export file"},
        {{"fifo.kne"}, 4, "is not a regular file"},
        {{"missing.kne"}, 4, "cannot open"},
        {{"empty.kne", "--clear"}, 0, "holds no Items; nothing changed"},
        {{"cut.kne", "--partial"},
         0,
         "Imported 1 Item from " + m_dir.File("cut.kne") +
             "; skipped the last record cut off by the end of the file"},
    };
    std::ofstream(m_dir.File("notes.kne")) << "not an export file, only some words\n";
    std::ofstream(m_dir.File("zero.kne")).close();
    for (const Case& c : cases) {
        std::vector<std::string> args{"import", m_dir.File(c.args[0])};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        const CliRun run = Run(args, kUnlock);
        EXPECT_EQ(run.status, c.status) << c.args[0];
        EXPECT_NE((run.err + run.out).find(c.said), std::string::npos) << run.err << run.out;
    }
    EXPECT_EQ(List(), "Amazon\nAmazon\nBank\n");
}

TEST_F(CliTest, BadInputGetsOneLineAndItsStatusAndChangesNothing) {
    ASSERT_EQ(Run({"add", "Bank"}, std::string(kUnlock) + "\n\n\n\nSecond#99\n").status, 0);
    const std::string before = List();
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int status;
    };
    const Case cases[] = {
        {{"list"}, "Wrong#123\n", 2},
        {{"list"}, "", 2},
        {{"show", "Nowhere"}, kUnlock, 3},
        {{"rm", "Amazon"}, kUnlock, 1},         // no --yes without a terminal
        {{"rm", "Bank", "--yes"}, kUnlock, 1},  // two Items named Bank
        {{"rm", "Bank", "--number", "3", "--yes"}, kUnlock, 3},
        {{"add", "Shop"}, std::string(kUnlock) + "\n\n\n\n12345678901234567\n", 1},
        {{"add", "Shop"}, std::string(kUnlock) + std::string(301, 'u') + "\n", 1},
        {{"add", std::string(301, 'L')}, kUnlock, 1},
        {{"add", "Shop"}, std::string(kUnlock) + "\n\n\n\n" + std::string("ab\0cdefgh\n", 10), 1},
        {{"add", "Caf\xE9"}, kUnlock, 1},
        {{"add", "Shop"}, std::string(kUnlock) + "\n\x1B[2J\n", 1},
        {{"edit", "Amazon", "--yes"}, std::string(kUnlock) + "\n\n\n\n\n12345678901234567\n", 1},
        {{"passwd"}, std::string(kUnlock) + "Other#456\nOther#457\n", 1},
        {{"generate", "--length", "3"}, "", 1},
        {{"generate", "--chars", "abcdefghijklmnopa1"}, "", 1},
        {{"frobnicate"}, "", 1},
        {{"show", "Bank", "-n", "-1"}, "", 1},
        {{"show"}, "", 1},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args, c.input);
        EXPECT_EQ(run.status, c.status) << c.args[0] << ": " << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("keynest-cli: ", 0), 0u) << run.err;
    }
    EXPECT_NE(Run({"show", "Bank", "-n", "0"}, "").err.find("from 1 up"), std::string::npos);
    EXPECT_EQ(List(), before);
}

TEST_F(CliTest, ChangesWaitForWhicheverProgramHoldsTheStoreReadingDoesNot) {
    // A link to the store meets the lock beside the store itself.
    const std::string link = m_dir.File("elsewhere/link.sqlite");
    ASSERT_EQ(::mkdir(m_dir.File("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(m_store.c_str(), link.c_str()), 0);
    const std::pair<const char*, const char*> holders[] = {
        {CSingleInstanceLock::kDesktopHolder, "Keynest is running"},
        {CSingleInstanceLock::kCliHolder, "another keynest-cli"},
        {"", "another Keynest program"}};
    for (const auto& [holder, named] : holders) {
        const CSingleInstanceLock lock(m_dir.File("keynest.lock"), holder);
        EXPECT_EQ(Run({"list", "--store", link}, kUnlock).out, "Amazon\nBank\n");
        const CliRun run = Run({"add", "Shop", "--store", link}, kUnlock);
        EXPECT_EQ(run.status, 2) << holder;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    }
}

TEST_F(CliTest, AStoreThatCannotBeWrittenIsReadButNotChanged) {
    // The test's folder mounted read-only in a namespace of the command's own.
    const std::string dir = Quoted(m_dir.Path());
    m_wrapper = "unshare -rm sh -c 'mount --bind " + dir + " " + dir + " && mount -o " +
                "remount,ro,bind " + dir + " " + dir + " && exec \"$0\" \"$@\"' ";
    const CliRun listed = Run({"list"}, kUnlock);
    if (listed.err.find("unshare") != std::string::npos) GTEST_SKIP() << listed.err;
    EXPECT_EQ(listed.out, "Amazon\nBank\n") << listed.err;
    const TempDir elsewhere;
    EXPECT_EQ(Run({"export", elsewhere.File("items.kne")}, kUnlock).status, 0);
    const CliRun added = Run({"add", "Shop"}, kUnlock);
    EXPECT_EQ(added.status, 4);
    EXPECT_NE(added.err.find("cannot be changed (Read-only file system)"), std::string::npos)
        << added.err;
}

TEST_F(CliTest, StoresTheUserNamesAreFoundAndOnlyTheOneChangedIsTouched) {
    // A bare name is in the current folder, which keeps its mode.
    ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0755), 0);
    EXPECT_EQ(Run({"passwd", "--store", "bare.sqlite"}, "Unlock#123\nUnlock#123\n").status, 0);
    EXPECT_EQ(Run({"list", "--store", m_dir.File("none.sqlite")}, kUnlock).status, 4);
    const std::string damaged = m_dir.File("damaged.sqlite");
    std::ofstream(damaged) << std::string(8192, 'x');
    ASSERT_EQ(::chmod(damaged.c_str(), 0644), 0);
    for (const char* command : {"show", "rm"}) {
        EXPECT_EQ(Run({command, "Bank", "--store", damaged}, kUnlock).status, 4) << command;
    }
    for (const std::string& path : {damaged, m_dir.Path()}) {
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0644u | (info.st_mode & 0111)) << path;
    }
    EXPECT_EQ(ReadAll(damaged), std::string(8192, 'x'));
}

// Whether echo on the terminal `master` drives turns `on` within 5 seconds.
bool EchoTurns(int master, bool on) {
    termios mode{};
    for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        if (::tcgetattr(master, &mode) == 0 && ((mode.c_lflag & ECHO) != 0) == on) return true;
    }
    return false;
}

// Whether process `pid` is stopped within 5 seconds.
bool WaitUntilStopped(pid_t pid) {
    for (int i = 0; i < 500; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        const std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t end = stat.rfind(')');
        if (end != std::string::npos && end + 2 < stat.size() && stat[end + 2] == 'T') return true;
    }
    return false;
}

TEST_F(CliTest, CtrlZAtThePasswordPromptGivesTheTerminalBackUntilContinued) {
    int master = -1;
    int terminal = -1;
    ASSERT_EQ(::openpty(&master, &terminal, nullptr, nullptr, nullptr), 0);
    // A session leader that waits, as a shell does: the command's group may stop.
    if (::fork() == 0) {
        ::setsid();
        ::ioctl(terminal, TIOCSCTTY, 0);
        const pid_t command = ::fork();
        if (command == 0) {
            ::setpgid(0, 0);
            for (const int fd : {0, 1, 2}) ::dup2(terminal, fd);
            ::execl(KEYNEST_CLI_PATH, "keynest-cli", "list", "--store", m_store.c_str(), nullptr);
            ::_exit(127);
        }
        ::setpgid(command, command);
        ::tcsetpgrp(terminal, command);
        ::_exit(::waitpid(command, nullptr, 0) == command ? 0 : 1);
    }
    ASSERT_TRUE(EchoTurns(master, false));  // the password prompt
    const pid_t command = ::tcgetpgrp(master);
    ASSERT_EQ(::write(master, "\x1a", 1), 1);  // Ctrl+Z
    EXPECT_TRUE(EchoTurns(master, true));
    // As a shell does, continue it only once it has stopped: a SIGCONT
    // that came first would be followed by the stop.
    EXPECT_TRUE(WaitUntilStopped(command));
    ::kill(-command, SIGCONT);
    EXPECT_TRUE(EchoTurns(master, false));
    ::kill(-command, SIGKILL);
    ::wait(nullptr);
    for (const int fd : {master, terminal}) ::close(fd);
}

TEST_F(CliTest, ClipUsesTheToolOnThePathAndClearsItsPasswordLater) {
    EXPECT_EQ(Run({"clip", "Amazon"}, kUnlock, m_dir.File("nothing")).status, 4);
    {
        CRegistryStore store(m_store);
        ASSERT_TRUE(
            store.OpenBranch(CRegistryStore::kBranchPath, CRegistryStore::kRootKey, nullptr));
        store.SetInt("Prefs", "ClipSeconds", 1);
    }
    // A stand-in xclip that keeps the clipboard in a file.
    const std::string tools = m_dir.File("tools");
    const std::string clipboard = m_dir.File("clipboard");
    ::mkdir(tools.c_str(), 0700);
    std::ofstream(tools + "/xclip") << "#!/bin/sh\ncase \"$*\" in *-out*) cat '" << clipboard
                                    << "' ;; *) cat > '" << clipboard << "' ;; esac\n";
    ::chmod((tools + "/xclip").c_str(), 0700);
    const CliRun run = Run({"clip", "Amazon"}, kUnlock, tools + ":/usr/bin:/bin");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("xclip"), std::string::npos);
    EXPECT_EQ(ReadAll(clipboard), kAmazonPassword);
    for (int i = 0; i < 50 && !ReadAll(clipboard).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(ReadAll(clipboard), "");
}

}  // namespace
