// SDL back-end: the keyboard as the game reads it, with Windows' virtual-key codes. Key presses
// become WM_KEYDOWN with the code SdlKeyToVirtualKey gives (the event pump, sdl_events.cpp); the
// held keys are read from SDL's keyboard state.
#include <SDL.h>

#include "platform/sdl_backend.h"
#include "platform/sdl_hotkeys.h"

int SdlKeyToVirtualKey(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
    switch (key) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_BACKSPACE: return 0x08;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return 0x12;  // VK_MENU
        case SDLK_PAUSE: return 0x13;
        case SDLK_PAGEUP: return 0x21;
        case SDLK_PAGEDOWN: return 0x22;
        case SDLK_END: return 0x23;
        case SDLK_HOME: return 0x24;
        case SDLK_INSERT: return 0x2D;
        case SDLK_DELETE: return 0x2E;
        case SDLK_KP_0: return 0x60;
        case SDLK_KP_1: return 0x61;
        case SDLK_KP_2: return VK_NUMPAD2;
        case SDLK_KP_3: return 0x63;
        case SDLK_KP_4: return VK_NUMPAD4;
        case SDLK_KP_5: return 0x65;
        case SDLK_KP_6: return VK_NUMPAD6;
        case SDLK_KP_7: return 0x67;
        case SDLK_KP_8: return VK_NUMPAD8;
        case SDLK_KP_9: return 0x69;
        default: return 0;
    }
}

namespace {

bool ScancodeDown(const uint8_t* state, int numKeys, SDL_Scancode code) {
    return code > SDL_SCANCODE_UNKNOWN && code < numKeys && state[code] != 0;
}

// Letters and digits follow the keyboard layout, as Windows' key codes do: the key that types
// "z" is VK_Z wherever it sits. Without a layout, the US position stands in.
SDL_Scancode LayoutScancode(SDL_Keycode key, SDL_Scancode usPosition) {
    const SDL_Scancode code = SDL_GetScancodeFromKey(key);
    return code == SDL_SCANCODE_UNKNOWN ? usPosition : code;
}

}  // namespace

bool SdlVirtualKeyDownIn(const uint8_t* state, int numKeys, int vk) {
    auto down = [&](SDL_Scancode code) { return ScancodeDown(state, numKeys, code); };
    if (vk >= 'A' && vk <= 'Z') {
        const int i = vk - 'A';
        return down(LayoutScancode(SDLK_a + i, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i)));
    }
    switch (vk) {
        case VK_LEFT: return down(SDL_SCANCODE_LEFT);
        case VK_UP: return down(SDL_SCANCODE_UP);
        case VK_RIGHT: return down(SDL_SCANCODE_RIGHT);
        case VK_DOWN: return down(SDL_SCANCODE_DOWN);
        // The keypad key answers whatever Num Lock says (with it off the key is an arrow).
        case VK_NUMPAD2: return down(SDL_SCANCODE_KP_2);
        case VK_NUMPAD4: return down(SDL_SCANCODE_KP_4);
        case VK_NUMPAD6: return down(SDL_SCANCODE_KP_6);
        case VK_NUMPAD8: return down(SDL_SCANCODE_KP_8);
        case VK_CONTROL: return down(SDL_SCANCODE_LCTRL) || down(SDL_SCANCODE_RCTRL);
        case VK_SHIFT: return down(SDL_SCANCODE_LSHIFT) || down(SDL_SCANCODE_RSHIFT);
        case VK_SPACE: return down(SDL_SCANCODE_SPACE);
        case VK_RETURN: return down(SDL_SCANCODE_RETURN) || down(SDL_SCANCODE_KP_ENTER);
        case VK_ESCAPE: return down(SDL_SCANCODE_ESCAPE);
        case VK_TAB: return down(SDL_SCANCODE_TAB);
        default: return false;
    }
}

bool SdlIsKeyDown(int vk) {
    int numKeys = 0;
    const Uint8* state = SDL_GetKeyboardState(&numKeys);
    // Keys the comforts took (the Return of Alt+Enter) do not count until they are let go; the
    // player's extra keys count as the game's own.
    state = SdlHotkeyMaskedState(state, numKeys);
    return SdlVirtualKeyDownIn(state, numKeys, vk) || SdlExtraKeyDownIn(state, numKeys, vk);
}
