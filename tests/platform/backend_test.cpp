// The back-end tables and the headless back-end's own bookkeeping.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/platform_internal.h"

namespace {

using AnyCall = void (*)();
static_assert(sizeof(PlatformBackendCalls) % sizeof(AnyCall) == 0, "the table holds calls only");

int MissingCalls(const PlatformBackendCalls& calls) {
    int missing = 0;
    for (size_t at = 0; at < sizeof calls; at += sizeof(AnyCall)) {
        AnyCall call = nullptr;
        std::memcpy(&call, reinterpret_cast<const unsigned char*>(&calls) + at, sizeof call);
        missing += call == nullptr;
    }
    return missing;
}

// A gap in a table would crash the first call to reach it, perhaps on a path only the real
// window takes.
TEST(PlatformBackends, EachFillsEveryCall) {
    EXPECT_EQ(MissingCalls(SDL_BACKEND), 0);
    EXPECT_EQ(MissingCalls(HEADLESS_BACKEND), 0);
    PlatformBackendCalls gap = HEADLESS_BACKEND;
    gap.present = nullptr;
    EXPECT_EQ(MissingCalls(gap), 1);
}

// The presentation times are kept for the last 64 frames, oldest first, also once the ring has
// gone round; a new start forgets them.
TEST(PlatformBackends, HeadlessKeepsTheLastPresentationTimesInOrder) {
    PlatformOptions options;
    ASSERT_TRUE(PlatformInit(options));
    std::vector<uint32_t> times, expected;
    for (int frame = 1; frame <= 70; ++frame) {
        PlatHeadlessAdvanceClock(10);
        PlatPresent();
        if (frame > 6) expected.push_back(10 * frame);
    }
    PlatHeadlessPresentTimes(&times);
    EXPECT_EQ(times, expected);
    ASSERT_TRUE(PlatformInit(options));
    PlatHeadlessPresentTimes(&times);
    EXPECT_TRUE(times.empty());
    EXPECT_EQ(PlatTimeGetTime(), 0u);
}

}  // namespace
