// The shared test helpers themselves: what the other tests take on trust.

#include "tests/support/AppPathsGuard.h"
#include "tests/support/Eventually.h"
#include "tests/support/RunCommand.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(AppPathsGuardTest, PutsEveryPathGlobalBack)
{
    const CAppPathsGuard outer;
    g_strAppDir = "app";
    g_strSettingFile = "setting";
    g_strLangFile = "lang";
    g_strUserDir = "user";
    {
        const CAppPathsGuard inner;
        InitAppPaths("/elsewhere", "/elsewhere/user");
        UseShippedLanguage("chinese");
        EXPECT_EQ(g_strLangFile, ZQ708_SOURCE_DIR "/lang/chinese.lang");
    }
    EXPECT_EQ(g_strAppDir, "app");
    EXPECT_EQ(g_strSettingFile, "setting");
    EXPECT_EQ(g_strLangFile, "lang");
    EXPECT_EQ(g_strUserDir, "user");
}

TEST(EventuallyTest, WaitsForAnotherThreadAndUsesEachResultOnce)
{
    std::atomic<bool> done = false;
    std::thread later([&done] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        done = true;
    });
    EXPECT_TRUE(Eventually([&done] { return done.load(); }));
    later.join();

    // A condition that takes what it finds, as reaping a child process does: true once only.
    int left = 3;
    EXPECT_TRUE(Eventually([&left] { return --left == 0; }));
    EXPECT_EQ(left, 0);
    EXPECT_FALSE(Eventually([] { return false; }, std::chrono::milliseconds(10)));
}

TEST(RunCommandTest, ExitCodeAndStreamsApartOrJoined)
{
    const std::string command = "echo out; echo err >&2; echo more; exit 3";
    const RunResult apart = RunCommand("sh -c '" + command + "'");
    EXPECT_EQ(apart.code, 3);
    EXPECT_EQ(apart.out, "out\nmore\n");
    EXPECT_EQ(apart.err, "err\n");
    const RunResult joined = RunCommand("sh -c '" + command + "'", ErrorOutput::Joined);
    EXPECT_EQ(joined.code, 3);
    EXPECT_EQ(joined.out, "out\nerr\nmore\n");
    EXPECT_EQ(joined.err, "");
    EXPECT_EQ(RunCommand("printf 1").out, "1");   // a last read of a single byte
    EXPECT_EQ(RunCommand("kill -9 $$").code, -1); // killed, not exited
}
