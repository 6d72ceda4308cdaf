// The X errors the SDL back-end lets pass: a wake-up message sent to a window that was just
// closed (which SDL's own event wait sends, and which the server may answer with BadWindow).
// It must stay harmless while SDL runs and after SDL has closed its video, while every other X
// error still ends the program as before. Needs a real X server: the end-to-end test
// e2e.x_errors runs it under Xvfb with VORNE_TEST_X_DISPLAY set; elsewhere it is skipped.
#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) would break it
#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdlib>

#include "platform/sdl_backend.h"

namespace {

// Sends a client message to window (which no longer exists) and waits for the server's answer,
// which runs the error handler in place.
void SendToGoneWindow(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.format = 32;
    event.xclient.message_type = XInternAtom(display, "VORNE_TEST_WAKEUP", False);
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

TEST(SdlXErrors, AWakeupToAClosedWindowIsHarmlessAndOtherErrorsStillEndTheProgram) {
    const char* name = std::getenv("VORNE_TEST_X_DISPLAY");
    if (!name || !*name) GTEST_SKIP() << "needs an X server (run by e2e.x_errors)";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("DISPLAY", name, 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    ASSERT_TRUE(SdlStartVideo()) << SDL_GetError();

    Display* display = XOpenDisplay(name);
    ASSERT_NE(display, nullptr);
    const Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
    XDestroyWindow(display, gone);
    XSync(display, False);

    SendToGoneWindow(display, gone);  // while SDL runs: nothing happens
    EXPECT_EXIT(
        {
            XMapWindow(display, gone);  // any other error still ends the program
            XSync(display, False);
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "BadWindow");

    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SendToGoneWindow(display, gone);  // after SDL has put back the handler it found: still nothing
    XCloseDisplay(display);
    unsetenv("SDL_VIDEODRIVER");
    SUCCEED();
}

}  // namespace
