// The SDL back-end's window side: the keyboard state, the letterbox and the magnification, the
// events that become window messages and the wait for the next tick. Runs on SDL's dummy video
// driver; the picture presented in a real window under X, and closing it, are checked by
// tests/e2e/window_*.sh.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <cstring>
#include <vector>

#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"
#include "sdl_test_support.h"

namespace {

// ---- what the window procedure heard -----------------------------------------------------

std::vector<WindowMessage> g_procHeard;

int RecordingProc(uint32_t message, uint32_t wParam) {
    g_procHeard.push_back(WindowMessage{message, wParam});
    if (message == WM_DESTROY) PlatPostQuitMessage(0);
    return 0;
}

void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }

void PushKey(SDL_Keycode key, uint32_t windowId, bool repeat) {
    SDL_Keysym keysym{SDL_GetScancodeFromKey(key), key, 0, 0};
    Push(SDL_Event{.key = {SDL_KEYDOWN, 0, windowId, SDL_PRESSED, static_cast<Uint8>(repeat), 0, 0, keysym}});
}

void PushWindowEvent(SDL_WindowEventID id, uint32_t windowId) {
    Push(SDL_Event{.window = {SDL_WINDOWEVENT, 0, windowId, static_cast<Uint8>(id), 0, 0, 0, 0, 0}});
}

void PushMusicNotify(uintptr_t code) {
    Push(SDL_Event{.user = {SDL_USEREVENT, 0, 0, static_cast<Sint32>(MM_MCINOTIFY), reinterpret_cast<void*>(code), nullptr}});
}

bool Same(const WindowMessage& m, uint32_t message, uint32_t wParam) { return m.message == message && m.wParam == wParam; }

}  // namespace

// ---- pure pieces: the key table, the letterbox, the magnification ---------------------------

TEST(SdlKeys, EitherKeyOfAPairAndTheKeypadAnswer) {
    std::vector<uint8_t> state(SDL_NUM_SCANCODES, 0);
    const int n = static_cast<int>(state.size());
    auto only = [&](SDL_Scancode code) {
        std::fill(state.begin(), state.end(), 0);
        state[code] = 1;
    };
    const int controlKeys[] = {VK_UP, VK_DOWN,  VK_LEFT,   VK_RIGHT,   VK_NUMPAD2, VK_NUMPAD4, VK_NUMPAD6, VK_NUMPAD8, VK_Z,
                               VK_X,  VK_SPACE, VK_RETURN, VK_CONTROL, VK_SHIFT,   VK_ESCAPE,  VK_TAB,     VK_P};
    struct Case {
        SDL_Scancode code;
        int vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_LCTRL, VK_CONTROL},   {SDL_SCANCODE_RCTRL, VK_CONTROL}, {SDL_SCANCODE_LSHIFT, VK_SHIFT},
        {SDL_SCANCODE_RSHIFT, VK_SHIFT},    {SDL_SCANCODE_KP_2, VK_NUMPAD2},  {SDL_SCANCODE_KP_4, VK_NUMPAD4},
        {SDL_SCANCODE_KP_6, VK_NUMPAD6},    {SDL_SCANCODE_KP_8, VK_NUMPAD8},  {SDL_SCANCODE_RETURN, VK_RETURN},
        {SDL_SCANCODE_KP_ENTER, VK_RETURN}, {SDL_SCANCODE_Z, VK_Z},           {SDL_SCANCODE_X, VK_X},
        {SDL_SCANCODE_SPACE, VK_SPACE},     {SDL_SCANCODE_LEFT, VK_LEFT},     {SDL_SCANCODE_UP, VK_UP},
        {SDL_SCANCODE_RIGHT, VK_RIGHT},     {SDL_SCANCODE_DOWN, VK_DOWN},
    };
    for (const Case& c : cases) {
        only(c.code);
        for (int vk : controlKeys) {
            // The held key answers for its own code and for no other key the game reads.
            EXPECT_EQ(SdlVirtualKeyDownIn(state.data(), n, vk), vk == c.vk) << "scancode " << c.code << " asked as vk " << vk;
        }
    }
    // A state array shorter than the scancode asks about: not held, never read past its end.
    only(SDL_SCANCODE_KP_8);
    EXPECT_FALSE(SdlVirtualKeyDownIn(state.data(), SDL_SCANCODE_KP_8, VK_NUMPAD8));
}

TEST(SdlLetterbox, WholeFactorsWhereTheyFitAspectAlwaysKept) {
    struct Case {
        int w, h;
        PlatRect expected;
    };
    const Case cases[] = {
        {640, 480, {0, 0, 640, 480}},          // exactly the screen
        {1280, 960, {0, 0, 1280, 960}},        // twice, filling the window
        {1920, 1080, {320, 60, 1600, 1020}},   // twice, centred (2.25 in height is not whole)
        {1366, 768, {363, 144, 1003, 624}},    // only once fits
        {3840, 2160, {640, 120, 3200, 2040}},  // four times, centred
        {600, 800, {0, 175, 600, 625}},        // smaller than the screen and tall: bars above and below
        {800, 300, {200, 0, 600, 300}},        // smaller and wide: bars left and right
        {0, 480, {0, 0, 0, 0}},                // a window with no area gets nothing
    };
    for (const Case& c : cases) {
        const PlatRect r = SdlLetterboxRect(c.w, c.h, 640, 480);
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
                  std::vector<int>({c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}))
            << c.w << "x" << c.h;
    }
}

// Magnifying the screen ourselves: the whole-factor shortcuts and the general case all show, at
// every output pixel, the screen pixel nearest to it, and never write past a row's width.
TEST(SdlMagnify, EveryOutputPixelShowsTheNearestScreenPixel) {
    constexpr int SW = 64, SH = 48;
    std::vector<uint8_t> screen(SW * SH);
    for (size_t i = 0; i < screen.size(); ++i) screen[i] = static_cast<uint8_t>(i * 37 + i / SW);
    uint32_t colours[256];
    for (uint32_t i = 0; i < 256; ++i) colours[i] = i * 2654435761u;
    const struct { int w, h; } sizes[] = {{64, 48}, {128, 96}, {192, 144}, {100, 75}, {48, 36}, {130, 97}};
    for (const auto& size : sizes) {
        const int pitch = size.w * 4 + 12;  // rows padded, as a locked texture's may be
        std::vector<uint8_t> rows(static_cast<size_t>(pitch) * size.h, 0xAB);
        SdlMagnifyScreen(screen.data(), colours, SW, SH, rows.data(), pitch, size.w, size.h);
        int wrong = 0, padding = 0;
        for (int y = 0; y < size.h; ++y) {
            for (int x = 0; x < size.w; ++x) {
                uint32_t got;
                std::memcpy(&got, &rows[static_cast<size_t>(y) * pitch + x * 4], 4);
                if (got != colours[screen[static_cast<size_t>(y * SH / size.h) * SW + x * SW / size.w]]) ++wrong;
            }
            for (int b = size.w * 4; b < pitch; ++b) padding += rows[static_cast<size_t>(y) * pitch + b] != 0xAB;
        }
        EXPECT_EQ(wrong + padding, 0) << size.w << "x" << size.h << ": " << wrong << " wrong, " << padding
                                      << " written past a row";
    }
}

// ---- the window, its events and its picture on the dummy driver -----------------------------

class SdlWindowTest : public SdlDummyTest {
  protected:
    void SetUp() override {
        SdlDummyTest::SetUp();
        g_procHeard.clear();
        PlatCreateWindow(RecordingProc);
        ASSERT_NE(SdlWindowId(), 0u);
        PlatShowWindow();
        shown_ = DrainMessages();
    }
    std::vector<WindowMessage> shown_;
};

TEST_F(SdlWindowTest, EventsBecomeTheWindowMessagesTheGameKnows) {
    // Showing the window makes the game active even without a window manager's focus event.
    ASSERT_FALSE(shown_.empty());
    EXPECT_TRUE(Same(shown_.back(), WM_ACTIVATEAPP, 1));

    const uint32_t id = SdlWindowId();
    PushKey(SDLK_ESCAPE, id, false);
    PushKey(SDLK_p, id, false);
    PushKey(SDLK_p, id, true);  // the keyboard's repeat is a further press
    PushKey(SDLK_TAB, id, false);
    PushKey(SDLK_F13, id, false);           // a key with no code: nothing
    PushKey(SDLK_ESCAPE, id + 100, false);  // another window's key: nothing
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, id);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, id);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, id + 100);  // a message box losing focus: nothing
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED, id);
    PushMusicNotify(MCI_NOTIFY_SUCCESSFUL);
    PushMusicNotify(MCI_NOTIFY_ABORTED);

    const std::vector<WindowMessage> got = DrainMessages();
    const WindowMessage expected[] = {{WM_KEYDOWN, 0x1B},
                                      {WM_KEYDOWN, 0x50},
                                      {WM_KEYDOWN, 0x50},
                                      {WM_KEYDOWN, 0x09},
                                      {WM_ACTIVATEAPP, 0},
                                      {WM_ACTIVATEAPP, 1},
                                      {WM_SIZE, SIZE_MINIMIZED},
                                      {MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL},
                                      {MM_MCINOTIFY, MCI_NOTIFY_ABORTED}};
    ASSERT_EQ(got.size(), std::size(expected));
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_TRUE(Same(got[i], expected[i].message, expected[i].wParam)) << i << ": " << got[i].message << "/" << got[i].wParam;
    }
    EXPECT_TRUE(g_procHeard.empty());  // nothing was dispatched, only queued
}

TEST_F(SdlWindowTest, RenderDeviceResetLosesTheSurfaces) {
    Surface* s = PlatCreateSurface(8, 8);
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(PlatIsSurfaceLost(s));
    Push(SDL_Event{.type = SDL_RENDER_DEVICE_RESET});
    DrainMessages();
    EXPECT_TRUE(PlatIsSurfaceLost(s));
    EXPECT_EQ(PlatColourFill(s, nullptr, 1), BLIT_SURFACE_LOST);
    EXPECT_TRUE(PlatRestoreSurface(s));
    Push(SDL_Event{.type = SDL_RENDER_TARGETS_RESET});
    DrainMessages();
    EXPECT_TRUE(PlatIsSurfaceLost(s));
    PlatReleaseSurface(s);
}

TEST_F(SdlWindowTest, WaitingSleepsUntilTheDeadlineOrTheFirstMessage) {
    // How long a wait until `deadline` ms from now took.
    const auto wait = [](int deadline) {
        const uint32_t start = PlatTimeGetTime();
        PlatWaitMessageUntil(start + deadline);
        return PlatTimeGetTime() - start;
    };
    // No event: back at the deadline, not before it, and not much after it (the machine is
    // shared); a deadline already passed returns at once.
    const uint32_t waited = wait(40);
    EXPECT_TRUE(waited >= 40u && waited <= 80u) << waited;
    EXPECT_TRUE(QueueEmpty());
    EXPECT_LE(wait(-5), 2u);

    // A message from another thread (the music layer's) ends the wait early.
    std::thread notifier([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        PushMusicNotify(MCI_NOTIFY_SUCCESSFUL);
    });
    EXPECT_LT(wait(500), 200u);
    notifier.join();
    const std::vector<WindowMessage> got = DrainMessages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(Same(got[0], MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL));
}
