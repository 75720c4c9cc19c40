#include "app/event_queue.h"

#include <gtest/gtest.h>
#include <string>

namespace gravlink {
namespace {

TEST(EventQueue, RunsCallsInTurnAndThoseTheyPostAfterThem) {
    TEventQueue queue;
    std::string order;
    queue.Post([&] {
        order += 'a';
        queue.Post([&] { order += 'c'; });
        order += 'A'; // a posted call waits for the current one to finish
    });
    queue.Post([&] { order += 'b'; });
    EXPECT_EQ(order, "");
    queue.Run();
    EXPECT_EQ(order, "aAbc");
}

TEST(EventQueue, QuitEndsTheLoopAfterTheCurrentCallAndDropsTheRest) {
    TEventQueue queue;
    std::string order;
    queue.Post([&] {
        queue.Quit();
        order += 'a';
    });
    queue.Post([&] { order += 'b'; });
    queue.Run();
    EXPECT_EQ(order, "a");
    // A loop run again starts empty: the dropped call never runs.
    queue.Run();
    EXPECT_EQ(order, "a");
}

TEST(EventQueue, EndsAtOnceWithNothingToRun) {
    TEventQueue queue;
    queue.Run();
    int runs = 0;
    queue.Post([&] { ++runs; });
    queue.Run();
    EXPECT_EQ(runs, 1);
}

} // namespace
} // namespace gravlink
