#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/image/FileInstanceLock.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Tries the lock in a child process; returns 0 when the child got it, 1 when not.
int acquireInChild(const fs::path& dir, const std::string& name) {
    pid_t pid = ::fork();
    if (pid == 0) {
        FileInstanceLock lock(dir);
        ::_exit(lock.acquire(name) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(FileInstanceLock, ASecondProcessCannotTakeTheLock) {
    TempDir dir;
    {
        FileInstanceLock lock(dir.path());
        ASSERT_TRUE(lock.acquire("Vedozer Anti-Spyware"));
        EXPECT_EQ(acquireInChild(dir.path(), "Vedozer Anti-Spyware"), 1);
        EXPECT_EQ(acquireInChild(dir.path(), "Another Build"), 0);  // names are independent
    }
    EXPECT_EQ(acquireInChild(dir.path(), "Vedozer Anti-Spyware"), 0);  // released on destruction
}

TEST(FileInstanceLock, HeldAgainstOtherHoldersInTheSameProcessToo) {
    TempDir dir;
    FileInstanceLock first(dir.path());
    FileInstanceLock second(dir.path());
    ASSERT_TRUE(first.acquire("App"));
    EXPECT_TRUE(first.acquire("App"));  // already held by this object
    EXPECT_FALSE(second.acquire("App"));
    first.release("App");
    EXPECT_TRUE(second.acquire("App"));
}

TEST(FileInstanceLock, LockFileNamesTheHolder) {
    TempDir dir;
    FileInstanceLock lock(dir.path() / "run" / "sub");
    ASSERT_TRUE(lock.acquire("App"));
    fs::path file = dir.path() / "run" / "sub" / "App.lock";
    EXPECT_EQ(lock.lockFile("App"), file);
    EXPECT_EQ(test::readHostFile(file), std::to_string(::getpid()) + "\n");
}

TEST(FileInstanceLock, LockOfADeadProcessIsFree) {
    TempDir dir;
    pid_t pid = ::fork();
    if (pid == 0) {
        FileInstanceLock lock(dir.path());
        ::_exit(lock.acquire("App") ? 0 : 1);  // exits without releasing
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    FileInstanceLock lock(dir.path());
    EXPECT_TRUE(lock.acquire("App"));
}

TEST(FileInstanceLock, NamesThatAreNotAFileNameAreRefused) {
    TempDir dir;
    FileInstanceLock lock(dir.path());
    EXPECT_FALSE(lock.acquire(""));
    EXPECT_FALSE(lock.acquire("../App"));
    EXPECT_FALSE(lock.acquire(std::string("A\0B", 3)));
    EXPECT_FALSE(fs::exists(dir.path().parent_path() / "App.lock"));
}

TEST(FileInstanceLock, DefaultFolderPrefersTheRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
    EXPECT_EQ(FileInstanceLock::defaultLockDir(), fs::path("/run/user/1234"));
    old ? ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace vedozer
