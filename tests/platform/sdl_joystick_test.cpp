// The SDL joystick through SDL's virtual joysticks: the axis scale, buttons, game controllers
// (A, B, stick and d-pad), and a device unplugged and plugged in again during play.
#include <SDL.h>
#include <gtest/gtest.h>

#include "sdl_test_support.h"

namespace {

// The device SDL opened for the platform (joysticks are shared, so this is the same object).
SDL_Joystick* VirtualDevice(int index) {
    SDL_JoystickUpdate();
    return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
}

// Sets a virtual axis so that the platform reports `mapped` on its 0..65535 scale.
void SetMappedAxis(SDL_Joystick* j, int axis, int32_t mapped) {
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(j, axis, static_cast<Sint16>(mapped - 32768)), 0);
}

JoystickState PollThroughTheGame() {
    JoystickState state{};
    PollJoystick(&state);
    return state;
}

using SdlJoystickTest = SdlDummyTest;

}  // namespace

TEST_F(SdlJoystickTest, NoneAttachedMeansStepFiveAndReleasedReadings) {
    EXPECT_FALSE(PlatJoystickPresent());
    EXPECT_EQ(PlatJoystickOpen(), 5);
    PlatJoystickRaw raw;
    raw.x = 1;
    raw.buttons[3] = 1;
    EXPECT_FALSE(PlatJoystickPoll(&raw));
    EXPECT_EQ(std::vector<int>({raw.x, raw.y, raw.buttons[3]}), std::vector<int>({32768, 32768, 0}));
}

// A raw joystick's axes reach the game's thresholds (the thresholds themselves are the input
// tests'): SDL's whole range lands on the 0..65535 scale, ends included.
TEST_F(SdlJoystickTest, AxesAndButtonsOfARawJoystick) {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_FALSE(SDL_IsGameController(index));
    EXPECT_TRUE(PlatJoystickPresent());
    ASSERT_EQ(InitJoystick(), 1);
    SDL_Joystick* j = VirtualDevice(index);
    ASSERT_NE(j, nullptr);
    for (const int32_t value : {0, 14000, 14001, 49999, 50000, 65535}) {
        SetMappedAxis(j, 0, value);
        SetMappedAxis(j, 1, 65535 - value);
        PlatJoystickRaw raw;
        ASSERT_TRUE(PlatJoystickPoll(&raw));
        EXPECT_EQ(raw.x, value);
        EXPECT_EQ(raw.y, 65535 - value);
    }
    const JoystickState s = PollThroughTheGame();  // x 65535, y 0
    EXPECT_EQ(s.right + s.up, 2);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(j, 1, SDL_PRESSED), 0);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(j, 3, SDL_PRESSED), 0);
    const JoystickState b = PollThroughTheGame();
    EXPECT_EQ(std::vector<int>(b.buttons, b.buttons + 5), std::vector<int>({0, 1, 0, 1, 0}));  // the device has four
}

TEST_F(SdlJoystickTest, GameControllerUsesAAndBAndBothStickAndDpad) {
    const int index = AttachVirtualPad();
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(SDL_IsGameController(index));
    ASSERT_EQ(PlatJoystickOpen(), 0);
    SDL_Joystick* j = VirtualDevice(index);
    ASSERT_NE(j, nullptr);
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(SDL_JoystickInstanceID(j));
    ASSERT_NE(pad, nullptr);
    auto stick = [&](SDL_GameControllerAxis a, int32_t mapped) {
        const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForAxis(pad, a);
        ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_AXIS);
        SetMappedAxis(j, bind.value.axis, mapped);
    };
    PlatJoystickRaw raw;

    for (const auto b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B}) {
        PressPadButton(b, true);
        ASSERT_TRUE(PlatJoystickPoll(&raw));
        EXPECT_EQ(raw.buttons[0], b == SDL_CONTROLLER_BUTTON_A);
        EXPECT_EQ(raw.buttons[1], b == SDL_CONTROLLER_BUTTON_B);
        PressPadButton(b, false);
    }

    // The left stick on the 0..65535 scale.
    stick(SDL_CONTROLLER_AXIS_LEFTX, 14000);
    stick(SDL_CONTROLLER_AXIS_LEFTY, 50000);
    ASSERT_TRUE(PlatJoystickPoll(&raw));
    EXPECT_EQ(std::vector<int32_t>({raw.x, raw.y}), std::vector<int32_t>({14000, 50000}));
    stick(SDL_CONTROLLER_AXIS_LEFTX, 32768);
    stick(SDL_CONTROLLER_AXIS_LEFTY, 32768);

    // The d-pad puts its axis at the end of the scale and is no button of its own.
    const struct {
        SDL_GameControllerButton across, along;
        int32_t x, y;
    } diagonals[] = {{SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_UP, 65535, 0},
                     {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0, 65535}};
    for (const auto& d : diagonals) {
        PressPadButton(d.across, true);
        PressPadButton(d.along, true);
        ASSERT_TRUE(PlatJoystickPoll(&raw));
        EXPECT_EQ(std::vector<int32_t>({raw.x, raw.y}), std::vector<int32_t>({d.x, d.y}));
        for (int i = 0; i < 32; ++i) EXPECT_EQ(raw.buttons[i], 0) << i;
        PressPadButton(d.across, false);
        PressPadButton(d.along, false);
    }
}

TEST_F(SdlJoystickTest, UnpluggedReadsReleasedAndAReturningDeviceIsPickedUp) {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 2, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_EQ(InitJoystick(), 1);
    SDL_Joystick* j = VirtualDevice(index);
    SetMappedAxis(j, 0, 0);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(j, 0, SDL_PRESSED), 0);
    JoystickState s = PollThroughTheGame();
    ASSERT_EQ(s.left, 1);
    ASSERT_EQ(s.buttons[0], 1);

    // Pulled out while held: released (centred, no button), never the zeroed left-and-up.
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    PlatJoystickRaw raw;
    EXPECT_FALSE(PlatJoystickPoll(&raw));
    s = PollThroughTheGame();
    EXPECT_EQ(s.left + s.right + s.up + s.down + s.buttons[0], 0);
    EXPECT_FALSE(PlatJoystickPresent());

    // Plugged in again: the next poll reads it.
    index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 2, 0);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(PlatJoystickPoll(&raw));  // opens it
    j = VirtualDevice(index);
    ASSERT_NE(j, nullptr);
    SetMappedAxis(j, 0, 65535);
    ASSERT_EQ(SDL_JoystickSetVirtualButton(j, 1, SDL_PRESSED), 0);
    s = PollThroughTheGame();
    EXPECT_EQ(s.right + s.buttons[1], 2);

    // Closed for good: no reading, and closing twice is harmless.
    PlatJoystickClose();
    PlatJoystickClose();
    EXPECT_FALSE(PlatJoystickPoll(&raw));
}
