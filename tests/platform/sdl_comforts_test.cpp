// The SDL back-end's comforts around the game: the Return of Alt+Enter held back from the
// keyboard state, the player's extra keys standing in for the game's, the loudness keys, the
// pad's Start pausing and resuming through the window procedure, extra pad buttons, the pad
// mappings of the settings folder and the environment, and when the X error handling loads.
// Runs on SDL's dummy video driver with virtual joysticks; the real window is checked by
// tests/e2e/window_toggle.sh and its neighbours.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/game.h"
#include "platform/platform_internal.h"
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
    // Each step: a key goes down or up on the keyboard, then (unless `type` is 0) its event
    // arrives; whether the hot keys took the event, and whether the game now sees Return held.
    const struct {
        SDL_Keycode key;
        bool down;
        Uint32 type;
        Uint16 mod;
        bool repeat, taken, seen;
    } steps[] = {
        // Alt, then Return: taken; no Return while it is held, through Alt's release and the
        // key's repeats, until Return itself is let go.
        {SDLK_LALT, true, 0, 0, false, false, false},
        {SDLK_RETURN, true, SDL_KEYDOWN, KMOD_LALT, false, true, false},
        {SDLK_LALT, false, SDL_KEYDOWN, KMOD_NONE, true, true, false},
        {SDLK_RETURN, false, SDL_KEYUP, KMOD_NONE, false, false, false},
        // Pressed again without Alt: the bomb key as ever; its repeats with Alt are no chord.
        {SDLK_RETURN, true, SDL_KEYDOWN, KMOD_NONE, false, false, true},
        {SDLK_LALT, true, SDL_KEYDOWN, KMOD_LALT, true, false, true},
        {SDLK_RETURN, false, SDL_KEYUP, KMOD_LALT, false, false, false},
        // The keypad's Enter is the same chord; a key-up lost with the focus does not keep the
        // key held back once the keyboard says it is up.
        {SDLK_KP_ENTER, true, SDL_KEYDOWN, KMOD_RALT, false, true, false},
        {SDLK_KP_ENTER, false, 0, 0, false, false, false},
        {SDLK_KP_ENTER, true, 0, 0, false, false, true},
    };
    Keyboard k;
    for (const auto& step : steps) {
        k.Set(step.key, step.down);
        // The event is Return's (or Enter's), whichever key changed.
        const SDL_Keycode eventKey = step.key == SDLK_KP_ENTER ? SDLK_KP_ENTER : SDLK_RETURN;
        const bool taken = step.type != 0 && SdlHotkeyEvent(Key(step.type, eventKey, step.mod, step.repeat));
        EXPECT_EQ(taken, step.taken) << "step " << &step - steps;
        EXPECT_EQ(k.Sees(VK_RETURN), step.seen) << "step " << &step - steps;
    }
    EXPECT_TRUE(DrainMessages().empty());
}

TEST_F(SdlComforts, ExtraKeysStandInForTheGamesOwn) {
    PlayerSettings s;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseSettings("[keys]\nshot = j\nup = w, Keypad 9\npause = Pause\n", &s, &errors));
    SdlHotkeysInit(s);
    Keyboard k;
    k.Set(SDLK_j, true);  // the shot control's first key answers for it, and for nothing else
    EXPECT_EQ(std::vector<bool>({k.Sees(VK_Z), k.Sees(VK_X), k.Sees(VK_UP)}), std::vector<bool>({true, false, false}));
    k.Set(SDLK_j, false);
    k.Set(SDLK_KP_9, true);
    EXPECT_EQ(std::vector<bool>({k.Sees(VK_Z), k.Sees(VK_X), k.Sees(VK_UP)}), std::vector<bool>({false, false, true}));
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
    // Music, effects and mute after each key press (a repeat is a held key).
    const auto after = [](SDL_Keycode key, bool repeat = false) {
        EXPECT_TRUE(SdlHotkeyEvent(Key(SDL_KEYDOWN, key, KMOD_NONE, repeat)));
        int music = 0, effects = 0;
        bool mute = false;
        SdlGetLoudness(&music, &effects, &mute);
        return std::to_string(music) + " " + std::to_string(effects) + (mute ? " muted" : "");
    };
    EXPECT_EQ(after(SDLK_F10), "100 80");  // already at the top
    after(SDLK_F9);
    after(SDLK_F9, true);
    EXPECT_EQ(after(SDLK_F9, true), "70 80");  // held: repeats step on
    EXPECT_EQ(after(SDLK_m), "70 80 muted");
    EXPECT_EQ(after(SDLK_m, true), "70 80 muted");  // a held M does not flicker
    EXPECT_EQ(after(SDLK_F8), "70 80");
    after(SDLK_m);
    EXPECT_EQ(after(SDLK_F10), "80 80");  // a volume key also brings the sound back
    for (int i = 0; i < 11; ++i) after(SDLK_F9);
    EXPECT_EQ(after(SDLK_F9), "0 80");
    EXPECT_TRUE(DrainMessages().empty());  // none of them reaches the game
    SdlSetLoudness(100, 100, false);
}

TEST(SdlXErrorsLoad, OnlyWhereTheX11DriverMayStart) {
    for (const char* drivers : {static_cast<const char*>(nullptr), "", "wayland,X11"}) {
        EXPECT_TRUE(SdlVideoDriverListAllowsX11(drivers, ":0")) << (drivers ? drivers : "unset");
    }
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
        g_screenState = SCREEN_SPLASH;
        g_playing = 0;
        g_paused = g_pauseRequested = 0;
        SdlDummyTest::TearDown();
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
    // The fixture started SDL's dummy driver: Xlib is neither loaded by us nor handling errors,
    // even where DISPLAY names a server.
    EXPECT_FALSE(SdlXErrorsInstalled());
    ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
    ASSERT_EQ(InitJoystick(), 1);
    g_screenState = SCREEN_GAME;
    g_playing = 1;
    DispatchAll();
    // How many P presses reached the window procedure after Start went down or up.
    const auto start = [this](bool down) {
        PressPadButton(SDL_CONTROLLER_BUTTON_START, down);
        return DispatchAll();
    };
    EXPECT_EQ(start(true), 1);
    EXPECT_EQ(g_pauseRequested, 1);
    g_pauseRequested = 0;
    g_paused = 1;                 // what the in-game frame does with the request
    EXPECT_EQ(DispatchAll(), 0);  // held: no further press (a pad does not repeat)
    EXPECT_EQ(start(false), 0);
    EXPECT_EQ(g_paused, 1);
    // While paused no tick polls the pad; the event pump still sees Start.
    EXPECT_EQ(start(true), 1);
    EXPECT_EQ(g_paused + g_pauseRequested, 0);
    EXPECT_EQ(start(false), 0);
    // Unplugged while held and plugged in again: the new pad's Start works.
    EXPECT_EQ(start(true), 1);
    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);
    EXPECT_EQ(DispatchAll(), 0);
    ASSERT_GE(AttachVirtualPad(), 0);
    EXPECT_EQ(DispatchAll(), 0);
    EXPECT_EQ(start(true), 1);
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
    PressPadButton(SDL_CONTROLLER_BUTTON_Y, true);
    PressPadButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    PollJoystick(&g_joystickState);
    EXPECT_EQ(g_joystickState.buttons[0] + g_joystickState.buttons[1], 2);
    EXPECT_TRUE(IsControlHeldLive(CONTROL_SHOT));
    PressPadButton(SDL_CONTROLLER_BUTTON_Y, false);
    PressPadButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false);
    PollJoystick(&g_joystickState);
    EXPECT_EQ(g_joystickState.buttons[0] + g_joystickState.buttons[1], 0);
    DispatchAll();  // the buttons' own events
    PressPadButton(SDL_CONTROLLER_BUTTON_BACK, true);
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
    ASSERT_EQ(mkdir((std::string(folder) + "/vorne").c_str(), 0755), 0);
    WriteWholeFile(std::string(folder) + "/vorne/gamecontrollerdb.txt",
                   std::string("# a pad of our own\n") + guidText +
                       ",Test Stick,a:b0,b:b1,start:b2,leftx:a0,lefty:a1,platform:" + SDL_GetPlatform() + ",\n");
    const SavedEnvironment environment({"XDG_CONFIG_HOME", "SDL_GAMECONTROLLERCONFIG"});
    setenv("XDG_CONFIG_HOME", folder, 1);

    SdlJoystickUseSettings(PlayerSettings{});
    EXPECT_EQ(mappedStart(), "start:b2");
    setenv("SDL_GAMECONTROLLERCONFIG", (std::string(guidText) + ",Test Stick,a:b0,b:b1,start:b3,leftx:a0,lefty:a1,").c_str(), 1);
    SdlJoystickUseSettings(PlayerSettings{});
    EXPECT_EQ(mappedStart(), "start:b3");
    EXPECT_EQ(std::system((std::string("rm -rf ") + folder).c_str()), 0);
}

}  // namespace
