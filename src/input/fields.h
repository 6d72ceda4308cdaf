// The joystick record described field by field for the state dump (an object of named fields).
// A new field is one more line in the list, in its place.
#pragma once

#include "core/record_fields.h"
#include "input/input.h"

inline constexpr Field JOYSTICK_STATE_FIELDS[] = {
    FIELD(JoystickState, left, I32),
    FIELD(JoystickState, right, I32),
    FIELD(JoystickState, up, I32),
    FIELD(JoystickState, down, I32),
    FIELD_ARRAY(JoystickState, buttons, U8, 32),
};
inline constexpr RecordFields JOYSTICK_STATE_RECORD = RECORD_FIELDS(JoystickState, JOYSTICK_STATE_FIELDS, RECORD_OBJECT);
