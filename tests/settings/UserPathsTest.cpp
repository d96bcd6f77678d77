// Where the program keeps its files, and opening its branch for the first time.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "settings/RegistryStore.h"
#include "TestSupport.h"
#include "settings/UserPaths.h"

namespace {

using keynest_test::ScopedEnv;
using keynest_test::TempDir;

TEST(UserPathsTest, FollowsXdgVariablesOnlyWhenTheyAreAbsolute) {
    TempDir dir;
    {
        ScopedEnv data("XDG_DATA_HOME", dir.File("data"));
        ScopedEnv config("XDG_CONFIG_HOME", dir.File("config"));
        EXPECT_EQ(UserPaths::StoreFile(), dir.File("data/Keynest/keynest.sqlite"));
        EXPECT_EQ(UserPaths::IniFile(), dir.File("config/Keynest.INI"));
    }
    ScopedEnv home("HOME", dir.Path());
    ScopedEnv relative("XDG_DATA_HOME", "relative/data");
    ScopedEnv unset("XDG_CONFIG_HOME", "");
    EXPECT_EQ(UserPaths::DataDirectory(), dir.File(".local/share/Keynest"));
    EXPECT_EQ(UserPaths::ConfigDirectory(), dir.File(".config"));
}

TEST(UserPathsTest, AFolderThatIsThereAlreadyIsMadePrivate) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    EXPECT_TRUE(UserPaths::MakePrivateDirectory(dir.Path()));
    struct stat info {};
    ASSERT_EQ(::stat(dir.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(UserPathsTest, TheOldIniFileIsMigratedOnlyWhenTheBranchIsNew) {
    TempDir dir;
    const std::string ini = dir.File("Keynest.INI");
    std::ofstream(ini) << "[Prefs]\nLength=12\n";
    {
        CRegistryStore store(dir.File("keynest.sqlite"));
        ASSERT_TRUE(store.OpenProgramBranch(ini));
        EXPECT_EQ(store.GetInt("Prefs", "Length", 16), 12);
    }
    std::ofstream(ini) << "[Prefs]\nLength=9\nLaunch=1\n";
    CRegistryStore again(dir.File("keynest.sqlite"));
    ASSERT_TRUE(again.OpenProgramBranch(ini));
    EXPECT_EQ(again.GetInt("Prefs", "Length", 16), 12);
    EXPECT_EQ(again.GetInt("Prefs", "Launch", 0), 0);
}

}  // namespace
