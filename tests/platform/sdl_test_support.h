// Shared by the SDL back-end's tests: runs the real SDL back-end on SDL's dummy video driver, so
// windows, renderers, events and virtual joysticks work without a display.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <SDL.h>

#include "input/input.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "test_support.h"

// Every message now in the queue (after pumping SDL's events), in order.
inline std::vector<WindowMessage> DrainMessages() {
    std::vector<WindowMessage> out;
    WindowMessage msg;
    while (PlatPeekMessage()) {
        PlatGetMessage(&msg);
        out.push_back(msg);
    }
    return out;
}

// Plugs in a virtual pad with the game controller's axes and buttons; its device index, or -1.
inline int AttachVirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}

// Presses or lets go of a button of the first pad through the controller's own mapping, whatever
// its raw layout.
inline void PressPadButton(SDL_GameControllerButton b, bool down) {
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(0));
    ASSERT_NE(pad, nullptr);
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForButton(pad, b);
    ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_BUTTON);
    ASSERT_EQ(
        SDL_JoystickSetVirtualButton(SDL_GameControllerGetJoystick(pad), bind.value.button, down ? SDL_PRESSED : SDL_RELEASED),
        0);
}

class SdlDummyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        PlatformOptions options;
        options.backend = PLATFORM_SDL;
        options.windowed = true;
        ASSERT_TRUE(PlatformInit(options));
    }

    // Leaves no pad, mapping, window or SDL behind for the next test.
    void TearDown() override {
        ReleaseInput();
        g_useJoystick = 0;
        while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
        SdlJoystickUseSettings(PlayerSettings{});
        PlatJoystickClose();
        if (PlatWindowExists()) PlatDestroyWindow();
        DrainMessages();  // drop what the destruction posted
        PlatformShutdown();
        PlatformOptions headless;
        PlatformInit(headless);
    }

  private:
    SavedEnvironment environment_{{"SDL_VIDEODRIVER"}};
};
