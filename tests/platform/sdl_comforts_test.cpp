// The SDL back-end's comforts around the game: the Return of Alt+Enter held back from the
// keyboard state, the player's extra keys standing in for the game's, the loudness keys, the
// pad's Start pausing and resuming through the window procedure, extra pad buttons, the pad
// mappings of the settings folder and the environment, and when the X error handling loads.
// Runs on SDL's dummy video driver with virtual joysticks; the real window is checked by
// tests/e2e/window_toggle.sh and its neighbours.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game.h"
#include "input/input.h"
#include "platform/platform_internal.h"
#include "platform/sdl_backend.h"
#include "platform/sdl_hotkeys.h"
#include "player/player.h"
#include "sdl_test_support.h"

namespace {

// A key's place on a US keyboard (SDL's own key table is only filled once its video runs).
SDL_Scancode Code(SDL_Keycode key) { return SDL_GetScancodeFromName(SDL_GetKeyName(key)); }

SDL_KeyboardEvent Key(Uint32 type, SDL_Keycode key, Uint16 mod, bool repeat = false) {
    SDL_KeyboardEvent e{};
    e.type = type;
    e.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.repeat = repeat ? 1 : 0;
    e.keysym.sym = key;
    e.keysym.scancode = Code(key);
    e.keysym.mod = mod;
    return e;
}

// The keyboard as the game's key query sees it.
struct Keyboard {
    std::array<uint8_t, SDL_NUM_SCANCODES> state{};
    void Set(SDL_Keycode key, bool down) { state[Code(key)] = down ? 1 : 0; }
    bool Sees(int vk) {
        const uint8_t* seen = SdlHotkeyMaskedState(state.data(), SDL_NUM_SCANCODES);
        return SdlVirtualKeyDownIn(seen, SDL_NUM_SCANCODES, vk) || SdlExtraKeyDownIn(seen, SDL_NUM_SCANCODES, vk);
    }
};

class SdlComforts : public ::testing::Test {
  protected:
    void SetUp() override {
        PlatformInit(PlatformOptions{});  // headless: the queue without SDL's events
        SdlHotkeysInit(PlayerSettings{});
    }
    void TearDown() override { SdlHotkeysInit(PlayerSettings{}); }
};

TEST_F(SdlComforts, TheReturnOfAltEnterIsNeverTheBombKey) {
    Keyboard k;
    // Alt, then Return: taken; the game sees no Return while it is held, through Alt's release
    // and the key's repeats, until Return itself is let go.
    k.Set(SDLK_LALT, true);
    k.Set(SDLK_RETURN, true);
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT)));
    EXPECT_FALSE(k.Sees(VK_RETURN));
    k.Set(SDLK_LALT, false);
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE, true)));
    EXPECT_FALSE(k.Sees(VK_RETURN));
    EXPECT_TRUE(k.Sees(VK_X) == false && k.Sees(VK_SHIFT) == false);
    k.Set(SDLK_RETURN, false);
    EXPECT_FALSE(SdlHotkeyEvent(Key(SDL_KEYUP, SDLK_RETURN, KMOD_NONE)));
    // Pressed again without Alt: the bomb key as ever.
    k.Set(SDLK_RETURN, true);
    EXPECT_FALSE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE)));
    EXPECT_TRUE(k.Sees(VK_RETURN));
    // Held as the bomb key, then Alt: its repeats with Alt are no chord, the bomb stays held.
    k.Set(SDLK_LALT, true);
    EXPECT_FALSE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, true)));
    EXPECT_TRUE(k.Sees(VK_RETURN));
    k.Set(SDLK_RETURN, false);
    SdlHotkeyEvent(Key(SDL_KEYUP, SDLK_RETURN, KMOD_LALT));
    // The keypad's Enter is the same chord; and a key-up lost with the focus does not keep the
    // key held back once the keyboard says it is up.
    k.Set(SDLK_KP_ENTER, true);
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_RALT)));
    EXPECT_FALSE(k.Sees(VK_RETURN));
    k.Set(SDLK_KP_ENTER, false);
    EXPECT_FALSE(k.Sees(VK_RETURN));
    k.Set(SDLK_KP_ENTER, true);
    EXPECT_TRUE(k.Sees(VK_RETURN));
    EXPECT_TRUE(DrainMessages().empty());
}

TEST_F(SdlComforts, ExtraKeysStandInForTheGamesOwn) {
    PlayerSettings s;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseSettings("[keys]\nshot = j\nup = w, Keypad 9\npause = Pause\n", &s, &errors));
    SdlHotkeysInit(s);
    Keyboard k;
    k.Set(SDLK_j, true);
    EXPECT_TRUE(k.Sees(VK_Z));  // the shot control's first key answers for it
    EXPECT_FALSE(k.Sees(VK_X));
    EXPECT_FALSE(k.Sees(VK_UP));
    k.Set(SDLK_j, false);
    k.Set(SDLK_KP_9, true);
    EXPECT_TRUE(k.Sees(VK_UP));
    EXPECT_FALSE(k.Sees(VK_Z));
    // Their presses are taken; the extra pause key is delivered as P, repeats included.
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_j, KMOD_NONE)));
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_PAUSE, KMOD_NONE)));
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_PAUSE, KMOD_NONE, true)));
    EXPECT_FALSE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_z, KMOD_NONE)));  // the game's own keys pass
    const std::vector<WindowMessage> got = DrainMessages();
    ASSERT_EQ(got.size(), 2u);
    for (const WindowMessage& m : got) EXPECT_TRUE(m.message == WM_KEYDOWN && m.wParam == static_cast<uint32_t>(VK_P));
}

TEST_F(SdlComforts, LoudnessKeysStepTheMusicAndMuteEverything) {
    SdlSetLoudness(100, 80, false);
    PlayerSettings s;
    s.musicVolume = 100;
    s.effectsVolume = 80;
    SdlHotkeysInit(s);
    int music = 0, effects = 0;
    bool mute = false;
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_F10, KMOD_NONE)));  // already at the top
    SdlGetLoudness(&music, &effects, &mute);
    EXPECT_EQ(music, 100);
    for (int i = 0; i < 3; ++i) SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_F9, KMOD_NONE, i > 0));  // held: repeats step on
    SdlGetLoudness(&music, &effects, &mute);
    EXPECT_EQ(music, 70);
    EXPECT_EQ(effects, 80);
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_m, KMOD_NONE)));
    EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_m, KMOD_NONE, true)));  // a held M does not flicker
    SdlGetLoudness(&music, &effects, &mute);
    EXPECT_TRUE(mute);
    SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_F8, KMOD_NONE));
    SdlGetLoudness(&music, &effects, &mute);
    EXPECT_FALSE(mute);
    SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_m, KMOD_NONE));
    SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_F10, KMOD_NONE));  // a volume key also brings the sound back
    SdlGetLoudness(&music, &effects, &mute);
    EXPECT_FALSE(mute);
    EXPECT_EQ(music, 80);
    for (int i = 0; i < 12; ++i) SdlHotkeyEvent(Key(SDL_KEYDOWN, SDLK_F9, KMOD_NONE));
    SdlGetLoudness(&music, &effects, &mute);
    EXPECT_EQ(music, 0);
    EXPECT_TRUE(DrainMessages().empty());  // none of them reaches the game
    SdlSetLoudness(100, 100, false);
}

TEST(SdlXErrorsLoad, OnlyWhereTheX11DriverMayStart) {
    EXPECT_TRUE(SdlVideoDriverListAllowsX11(nullptr, ":0"));
    EXPECT_TRUE(SdlVideoDriverListAllowsX11("", ":0"));
    EXPECT_TRUE(SdlVideoDriverListAllowsX11("wayland,X11", ":1"));
    EXPECT_FALSE(SdlVideoDriverListAllowsX11("wayland", ":0"));
    EXPECT_FALSE(SdlVideoDriverListAllowsX11("x11drm,dummy", ":0"));
    EXPECT_FALSE(SdlVideoDriverListAllowsX11(nullptr, nullptr));  // no X server named
    EXPECT_FALSE(SdlVideoDriverListAllowsX11("x11", ""));
}

// ---- the pad -----------------------------------------------------------------------------

class SdlPadComforts : public SdlDummyTest {
  protected:
    void SetUp() override {
        SdlDummyTest::SetUp();
        PlatCreateWindow(MainWindowProc);
        g_useJoystick = 1;
    }
    void TearDown() override {
        ReleaseInput();
        g_useJoystick = 0;
        g_screenState = SCREEN_SPLASH;
        g_playing = 0;
        g_paused = g_pauseRequested = 0;
        while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
        SdlJoystickUseSettings(PlayerSettings{});
        SdlDummyTest::TearDown();
    }
    // Presses or lets go of a pad button through the controller's own mapping.
    void Press(SDL_GameControllerButton b, bool down) {
        SDL_GameController* pad = SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(0));
        ASSERT_NE(pad, nullptr);
        const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForButton(pad, b);
        ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_BUTTON);
        ASSERT_EQ(SDL_JoystickSetVirtualButton(SDL_GameControllerGetJoystick(pad), bind.value.button,
                                               down ? SDL_PRESSED : SDL_RELEASED),
                  0);
    }
    // The message loop's part: every queued message to the window procedure.
    int DispatchAll() {
        int count = 0;
        WindowMessage msg;
        while (PlatPeekMessage()) {
            if (PlatGetMessage(&msg) == 0) break;
            if (msg.message == WM_KEYDOWN && msg.wParam == static_cast<uint32_t>(VK_P)) ++count;
            PlatDispatchMessage(msg);
        }
        return count;
    }
};

TEST_F(SdlPadComforts, StartPausesAndResumesByTheRuleOfP) {
    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    ASSERT_EQ(InitJoystick(), 1);
    g_screenState = SCREEN_GAME;
    g_playing = 1;
    DispatchAll();

    Press(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(DispatchAll(), 1);
    EXPECT_EQ(g_pauseRequested, 1);
    g_pauseRequested = 0;
    g_paused = 1;                 // what the in-game frame does with the request
    EXPECT_EQ(DispatchAll(), 0);  // held: no further press (a pad does not repeat)
    Press(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(DispatchAll(), 0);
    EXPECT_EQ(g_paused, 1);
    // While paused no tick polls the pad; the event pump still sees Start.
    Press(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(DispatchAll(), 1);
    EXPECT_EQ(g_paused, 0);
    EXPECT_EQ(g_pauseRequested, 0);
    Press(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(DispatchAll(), 0);

    // Unplugged while held and plugged in again: the new pad's Start works.
    Press(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(DispatchAll(), 1);
    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);
    EXPECT_EQ(DispatchAll(), 0);
    ASSERT_GE(AttachVirtualPad(), 0);
    EXPECT_EQ(DispatchAll(), 0);
    Press(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(DispatchAll(), 1);
}

TEST_F(SdlPadComforts, ExtraButtonsShootBombAndPause) {
    PlayerSettings s;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseSettings("[pad]\nshot = y\nbomb = rightshoulder\npause = back\n", &s, &errors));
    SdlJoystickUseSettings(s);
    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    ASSERT_EQ(InitJoystick(), 1);
    g_screenState = SCREEN_GAME;
    g_playing = 1;
    Press(SDL_CONTROLLER_BUTTON_Y, true);
    Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    PollJoystick(&g_joystickState);
    EXPECT_EQ(g_joystickState.buttons[0], 1);
    EXPECT_EQ(g_joystickState.buttons[1], 1);
    EXPECT_TRUE(IsControlHeldLive(CONTROL_SHOT));
    Press(SDL_CONTROLLER_BUTTON_Y, false);
    Press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    PollJoystick(&g_joystickState);
    EXPECT_EQ(g_joystickState.buttons[0], 0);
    EXPECT_EQ(g_joystickState.buttons[1], 0);
    DispatchAll();
    Press(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(DispatchAll(), 1);
    EXPECT_EQ(g_pauseRequested, 1);
}

// SDL keeps its virtual joysticks out of the mappings, so this looks at the mapping SDL holds
// for a pad's id: the file's, then the environment's over it.
TEST_F(SdlPadComforts, MappingsFromTheSettingsFolderAndTheEnvironmentWhichWins) {
    const char* guidText = "03000000aa5500001a2b000010010000";
    const SDL_JoystickGUID guid = SDL_JoystickGetGUIDFromString(guidText);
    const auto mappedStart = [&]() -> std::string {
        char* mapping = SDL_GameControllerMappingForGUID(guid);
        std::string text = mapping ? mapping : "";
        SDL_free(mapping);
        const size_t at = text.find("start:");
        return at == std::string::npos ? "none" : text.substr(at, text.find(',', at) - at);
    };
    ASSERT_EQ(mappedStart(), "none");

    char folder[] = "/tmp/vorne_pads_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string vorneFolder = std::string(folder) + "/vorne";
    ASSERT_EQ(std::system(("mkdir -p " + vorneFolder).c_str()), 0);
    std::FILE* db = std::fopen((vorneFolder + "/gamecontrollerdb.txt").c_str(), "w");
    ASSERT_NE(db, nullptr);
    std::fprintf(db, "# a pad of our own\n%s,Test Stick,a:b0,b:b1,start:b2,leftx:a0,lefty:a1,platform:%s,\n", guidText,
                 SDL_GetPlatform());
    std::fclose(db);
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string savedConfig = oldConfig ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", folder, 1);

    SdlJoystickUseSettings(PlayerSettings{});
    EXPECT_EQ(mappedStart(), "start:b2");
    setenv("SDL_GAMECONTROLLERCONFIG", (std::string(guidText) + ",Test Stick,a:b0,b:b1,start:b3,leftx:a0,lefty:a1,").c_str(), 1);
    SdlJoystickUseSettings(PlayerSettings{});
    EXPECT_EQ(mappedStart(), "start:b3");
    unsetenv("SDL_GAMECONTROLLERCONFIG");

    if (oldConfig) {
        setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(std::system((std::string("rm -rf ") + folder).c_str()), 0);
}

TEST_F(SdlPadComforts, NoXErrorHandlingWhereAnotherDriverRuns) {
    // The fixture started SDL's dummy driver: Xlib is neither loaded by us nor handling errors,
    // even where DISPLAY names a server.
    EXPECT_FALSE(SdlXErrorsInstalled());
}

}  // namespace
