#include <gtest/gtest.h>

#include "settings/SingleInstanceLock.h"
#include "TestSupport.h"

namespace {

TEST(SingleInstanceLockTest, SecondCopySeesTheFirstUntilItEnds) {
    keynest_test::TempDir dir;
    const std::string path = dir.File("keynest.lock");
    {
        CSingleInstanceLock first(path);
        ASSERT_TRUE(first.IsHeld());
        CSingleInstanceLock second(path);
        EXPECT_FALSE(second.IsHeld());
        EXPECT_TRUE(second.IsHeldElsewhere());
    }
    CSingleInstanceLock afterwards(path);
    EXPECT_TRUE(afterwards.IsHeld());
}

TEST(SingleInstanceLockTest, AnUnusablePathIsNotMistakenForAnotherCopy) {
    keynest_test::TempDir dir;
    CSingleInstanceLock lock(dir.File("missing-folder/keynest.lock"));
    EXPECT_FALSE(lock.IsHeld());
    EXPECT_FALSE(lock.IsHeldElsewhere());
}

}  // namespace
