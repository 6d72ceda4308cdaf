// Pieces shared by the second boss, the second mid-boss and the mid-boss's escort: gun points
// fixed on the hull, single shots turned from straight up or straight down, and the angle steps
// of their spinning sprays. Angle steps and offsets are double constants: a float angle plus such
// a constant is worked out in double and rounded to float where it is stored or handed on.
#pragma once

#include "enemyfire/enemyfire.h"

// A gun's position relative to the top-left corner of its boss.
struct GunOffset {
    int dx, dy;
};

// A shot from (x, y) aimed at the pixel just above it, so that angle 0 goes straight up and a
// positive angle turns it clockwise. Called by the bosses' sprays and rings.
inline void FireUpFrom(int x, int y, double speed, double angle, int kind) {
    FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y - 1, static_cast<float>(speed),
                static_cast<float>(angle), kind);
}

// The same aimed at the pixel just below: angle 0 goes straight down. Called by the bosses'
// downward fans and showers.
inline void FireDownFrom(int x, int y, double speed, double angle, int kind) {
    FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y + 1, static_cast<float>(speed),
                static_cast<float>(angle), kind);
}

// The full turn after which a spinning spray starts over from angle 0.
inline constexpr double FULL_TURN = 6.28;

// One step of a spray turning clockwise; back to 0 once the step takes it to a full turn or more.
inline void SpinClockwise(float& angle, double step) {
    angle = static_cast<float>(angle + step);
    if (angle >= FULL_TURN) angle = 0;
}

// One step anticlockwise; back to 0 once the step takes it to minus a full turn or less.
inline void SpinAnticlockwise(float& angle, double step) {
    angle = static_cast<float>(angle - step);
    if (angle <= -FULL_TURN) angle = 0;
}
