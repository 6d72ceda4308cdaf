// A tick of play takes nothing from the heap (loading, the records and a change of music may): the
// test binary counts every call of operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/game.h"
#include "platform/platform.h"
#include "player/player.h"
#include "test_support.h"

// Under AddressSanitizer the sanitizer owns new and delete: no count, the test is skipped.
#if defined(__SANITIZE_ADDRESS__)
#define VORNE_COUNT_NEW 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORNE_COUNT_NEW 0
#endif
#endif
#ifndef VORNE_COUNT_NEW
#define VORNE_COUNT_NEW 1
#endif

namespace {
std::atomic<long> g_newCalls{0};
}

#if VORNE_COUNT_NEW
// GCC sees the replaced operator delete inlined where gtest's code called new and takes the free()
// in it for a mismatch; new and delete here are the pair malloc and free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    g_newCalls.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace {

TEST(HeapDuringPlay, ATickOfPlayAllocatesNothing) {
    if (!VORNE_COUNT_NEW) GTEST_SKIP() << "the sanitizer keeps operator new to itself";
    SetUpHeadlessGame();
    PlatCreateWindow(MainWindowProc);
    // The audio log is taken every tick, as the runner does: its two buffers trade places, so both
    // are made large enough here that only the game's own work is counted.
    std::vector<int> sounds;
    std::vector<std::string> music;
    sounds.reserve(256);
    PlatHeadlessTakeAudioLog(&sounds, &music);  // the platform now holds the large buffer ...
    sounds = std::vector<int>();
    sounds.reserve(256);  // ... and this one is as large
    const auto tick = [&] {
        RunFrame();
        PlatHeadlessTakeAudioLog(&sounds, &music);
    };
    // Fire and bomb held from the splash: ship A is taken and plays on, shooting and bombing.
    PlatHeadlessSetKeyDown(VK_Z, true);
    PlatHeadlessSetKeyDown(VK_X, true);
    int ticks = 0;
    while (!(g_screenState == SCREEN_GAME && g_playing == 1) && ticks < 1000) {
        tick();
        ++ticks;
    }
    ASSERT_EQ(g_playing, 1) << "the game did not start";
    for (int i = 0; i < 200; ++i) tick();  // warm-up: the first shots, hits and bombs

    int effects = 0;
    const long before = g_newCalls.load();
    for (int i = 0; i < 1000; ++i) {
        tick();
        effects += static_cast<int>(sounds.size());
        ASSERT_TRUE(music.empty()) << "the music changed inside the window, which may allocate";
    }
    const long calls = g_newCalls.load() - before;
    PlatHeadlessSetKeyDown(VK_Z, false);
    PlatHeadlessSetKeyDown(VK_X, false);
    EXPECT_EQ(g_screenState, SCREEN_GAME);
    EXPECT_GT(effects, 100);  // the window saw real play
    EXPECT_EQ(calls, 0) << "operator new was called during 1000 ticks of play";
}

}  // namespace
