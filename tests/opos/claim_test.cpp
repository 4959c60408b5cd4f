// The claim across processes: the lock file, its timeout, and a claim held
// by another process that is given up when that process dies.
#include "opos_fixture.h"

#include "opos/control/claim_lock.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace opostest {
namespace {

using ClaimTest = OposTest;

TEST_F(ClaimTest, LockLivesUnderTheRuntimeFolder)
{
    EXPECT_EQ(opos::ClaimLock::PathFor("QuellorUSBMiniMSR"),
              (dir_ / "run" / "strivo" / "QuellorUSBMiniMSR.claim").string());
    EXPECT_EQ(opos::ClaimLock::PathFor("a/b c"), (dir_ / "run" / "strivo" / "a_b_c.claim").string());
    EXPECT_EQ(opos::ClaimLock::PathFor(".."), (dir_ / "run" / "strivo" / "_...claim").string());
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(opos::ClaimLock::PathFor("X"), "/tmp/strivo-" + std::to_string(::getuid()) + "/X.claim");
}

TEST_F(ClaimTest, TwoLocksExcludeEachOtherAndTheTimeoutIsKept)
{
    opos::ClaimLock first("Dev");
    opos::ClaimLock second("Dev");
    ASSERT_EQ(first.Acquire(0), opos::ClaimLock::Result::Acquired);
    EXPECT_EQ(second.Acquire(0), opos::ClaimLock::Result::TimedOut);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.Acquire(150), opos::ClaimLock::Result::TimedOut);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(150));
    EXPECT_LT(waited, std::chrono::milliseconds(1500));
    first.Release();
    EXPECT_EQ(second.Acquire(0), opos::ClaimLock::Result::Acquired);
}

TEST_F(ClaimTest, WaitForeverGetsTheClaimWhenItIsGivenUp)
{
    auto first = std::make_unique<opos::ClaimLock>("Dev");
    ASSERT_EQ(first->Acquire(0), opos::ClaimLock::Result::Acquired);
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        first.reset();
    });
    opos::ClaimLock second("Dev");
    EXPECT_EQ(second.Acquire(-1), opos::ClaimLock::Result::Acquired);
    releaser.join();
}

TEST_F(ClaimTest, UnusableRuntimeFolderFailsTheClaim)
{
    ::setenv("XDG_RUNTIME_DIR", "/proc/strivo-no-such-folder", 1);
    opos::ClaimLock lock("Dev");
    EXPECT_EQ(lock.Acquire(0), opos::ClaimLock::Result::Failed);
    EXPECT_NE(lock.error().find("/proc/strivo-no-such-folder"), std::string::npos) << lock.error();
}

// A lock folder that another user could have made or can write to (under
// /tmp anyone can make it first) is refused with a reason, and so is a lock
// file that is a link.
TEST_F(ClaimTest, LockFolderOrFileThatOthersControlFailsTheClaim)
{
    const std::filesystem::path folder = dir_ / "run" / "strivo";
    const std::filesystem::path elsewhere = dir_ / "elsewhere";
    struct Row {
        const char* what;
        std::function<void()> make;
        const char* errorPart;
    };
    const Row rows[] = {
        {"folder writable by others",
         [&] {
             std::filesystem::create_directory(folder);
             ::chmod(folder.c_str(), 0777);
         },
         "is not a private folder"},
        {"folder is a link",
         [&] {
             std::filesystem::create_directory(elsewhere);
             ::chmod(elsewhere.c_str(), 0700);
             std::filesystem::create_directory_symlink(elsewhere, folder);
         },
         "is not a private folder"},
        {"lock file is a link",
         [&] {
             std::filesystem::create_directory(folder);
             ::chmod(folder.c_str(), 0700);
             std::filesystem::create_symlink(dir_ / "target", folder / "Dev.claim");
         },
         "cannot open"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(folder);
        std::filesystem::remove_all(elsewhere);
        row.make();
        opos::ClaimLock lock("Dev");
        EXPECT_EQ(lock.Acquire(0), opos::ClaimLock::Result::Failed);
        EXPECT_NE(lock.error().find(row.errorPart), std::string::npos) << lock.error();
        EXPECT_FALSE(std::filesystem::exists(dir_ / "target")) << "the link was followed";
    }
    std::filesystem::remove_all(folder);
    opos::ClaimLock lock("Dev");
    EXPECT_EQ(lock.Acquire(0), opos::ClaimLock::Result::Acquired) << lock.error();
}

// A child process opens and claims the device with its own control; the
// parent's claim times out, and succeeds once the child has been killed.
TEST_F(ClaimTest, ClaimHeldByAnotherProcessIsGivenUpWhenItDies)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        char answer = 'n';
        {
            opos::MsrControl own;
            Ctl k(own);
            if (k.Open() == 0 && k.Claim(0) == 0) {
                answer = 'y';
            }
            if (::write(ready[1], &answer, 1) != 1) {
                ::_exit(3);
            }
            if (answer == 'y') {
                for (;;) {
                    ::pause();  // hold the claim until killed
                }
            }
        }
        ::_exit(2);
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(answer, 'y') << "the child could not claim";

    ASSERT_EQ(c.Open(), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(c.Claim(200), OPOS_E_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_FALSE(c.Bool(msrdisp::Claimed));

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(c.Claim(1000), 0);
    EXPECT_TRUE(c.Bool(msrdisp::Claimed));
}

}  // namespace
}  // namespace opostest
