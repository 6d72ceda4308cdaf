// The six controls and the joystick. Keyboard play asks the platform for the keys' current
// state where a control is read; joystick play reads the record polled once per tick; a watched
// replay reads the recorded bytes and nothing else.
#include <cstring>

#include "input/input.h"
#include "platform/platform.h"

int g_useJoystick = 0;
uint8_t g_watchingReplay = 0;
JoystickState g_joystickState = {};

namespace {

struct ControlKeys {
    int keys[3];
    int count;
};

// The keys of each control (either Ctrl and either Shift count; the keypad with or without
// Num Lock).
// clang-format off
constexpr ControlKeys CONTROL_KEYS[6] = {
    {{VK_UP, VK_NUMPAD8, 0}, 2},           {{VK_DOWN, VK_NUMPAD2, 0}, 2},
    {{VK_LEFT, VK_NUMPAD4, 0}, 2},         {{VK_RIGHT, VK_NUMPAD6, 0}, 2},
    {{VK_Z, VK_CONTROL, VK_SPACE}, 3},     {{VK_X, VK_RETURN, VK_SHIFT}, 3},
};
// clang-format on

bool g_joystickOpen = false;

bool JoystickField(Control control) {
    switch (control) {
        case CONTROL_UP: return g_joystickState.up != 0;
        case CONTROL_DOWN: return g_joystickState.down != 0;
        case CONTROL_LEFT: return g_joystickState.left != 0;
        case CONTROL_RIGHT: return g_joystickState.right != 0;
        case CONTROL_SHOT: return g_joystickState.buttons[0] != 0;
        case CONTROL_BOMB: return g_joystickState.buttons[1] != 0;
    }
    return false;
}

uint8_t* RecordByte(ReplayRecord& record, Control control) {
    switch (control) {
        case CONTROL_UP: return &record.up;
        case CONTROL_DOWN: return &record.down;
        case CONTROL_LEFT: return &record.left;
        case CONTROL_RIGHT: return &record.right;
        case CONTROL_SHOT: return &record.shot;
        case CONTROL_BOMB: return &record.bomb;
    }
    return &record.up;
}

}  // namespace

bool IsKeyDown(int vk) { return PlatIsKeyDown(vk); }

bool IsControlHeldLive(Control control) {
    if (g_useJoystick) return JoystickField(control);
    const ControlKeys& k = CONTROL_KEYS[control];
    for (int i = 0; i < k.count; ++i) {
        if (IsKeyDown(k.keys[i])) return true;
    }
    return false;
}

bool IsControlPressed(Control control) {
    ReplayRecord& record = g_replayRecords[g_replayFrame];
    uint8_t* byte = RecordByte(record, control);
    // Only a byte of exactly 1 counts as pressed.
    if (g_watchingReplay) return *byte == 1;
    if (!IsControlHeldLive(control)) return false;
    *byte = 1;
    return true;
}

void JoystickStateFromRaw(int32_t x, int32_t y, const uint8_t* buttons, JoystickState* state) {
    std::memset(state, 0, sizeof *state);
    for (int i = 0; i < 32; ++i) state->buttons[i] = buttons[i] ? 1 : 0;
    state->left = x <= JOY_AXIS_LOW ? 1 : 0;
    state->right = x >= JOY_AXIS_HIGH ? 1 : 0;
    state->up = y <= JOY_AXIS_LOW ? 1 : 0;
    state->down = y >= JOY_AXIS_HIGH ? 1 : 0;
}

bool InitJoystick() {
    // The original's device steps collapse into one open here; its failure messages keep their
    // text and the caption of the step that failed.
    const int failedStep = PlatJoystickOpen();
    if (failedStep == 0) {
        g_joystickOpen = true;
        return true;
    }
    const char* caption = "ジョイスティックが存在しません";
    switch (failedStep) {
        case 1: caption = "DirectInputオブジェクト作成失敗"; break;
        case 4: caption = "列挙失敗"; break;
        case 5: caption = "ジョイスティックが存在しません"; break;
        case 16: caption = "ジョイスティックアクセス権取得失敗"; break;
        default: break;
    }
    PlatMessageBox("ｴﾗｰﾁｪｯｸ", caption);
    return false;
}

void PollJoystick(JoystickState* state) {
    if (!g_joystickOpen) return;  // no device: the record keeps what it held
    PlatJoystickRaw raw;
    // An unplugged joystick reads as centred with no button held (released), never as the
    // zeroed raw state that would hold left and up.
    PlatJoystickPoll(&raw);
    JoystickStateFromRaw(raw.x, raw.y, raw.buttons, state);
}

void ReleaseInput() {
    if (g_joystickOpen) PlatJoystickClose();
    g_joystickOpen = false;
}
