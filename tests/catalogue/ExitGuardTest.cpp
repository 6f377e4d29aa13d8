// The exit guard in a child process whose later exit handler never returns, as the engine's
// shutdown has been seen not to: the open link is closed first, and the process still ends, with
// the status it was exiting with, soon after the bound.
#include "catalogue/ExitGuard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace catalogue::exit_guard {
namespace {

extern "C" void EndlessShutdown()
{
    std::fputs("engine\n", stderr);
    std::fflush(stderr);
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

TEST(ExitGuard, ClosesTheLinksThenEndsAHangingExitWithItsStatus)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EXIT(
        {
            // Registered before the guard, as the engine's handler is at the first attach.
            std::atexit(EndlessShutdown);
            Arm();
            Track(&start, [] {
                std::fputs("closed\n", stderr);
                std::fflush(stderr);
            });
            std::exit(7);
        },
        ::testing::ExitedWithCode(7), "closed\nengine");
    EXPECT_LT(std::chrono::steady_clock::now() - start, kShutdownBound + std::chrono::seconds(3));
}

TEST(ExitGuard, LeavesAForgottenLinkAlone)
{
    EXPECT_EXIT(
        {
            Arm();
            int owner = 0;
            Track(&owner, [] { std::fputs("closed\n", stderr); });
            Forget(&owner);
            std::fputs("ended\n", stderr);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "^ended\n$");
}

} // namespace
} // namespace catalogue::exit_guard
