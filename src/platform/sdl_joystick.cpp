// SDL back-end: joystick. (Stand-in until the real one lands.)
#include "platform/platform_internal.h"

bool SdlJoystickPresent() { return false; }
int SdlJoystickOpen() { return 5; }
bool SdlJoystickPoll(PlatJoystickRaw* raw) {
    *raw = PlatJoystickRaw{};
    return false;
}
void SdlJoystickClose() {}
