// Pieces every boss and mid-boss fires with: gun points fixed on the hull, single shots turned
// from straight up or straight down, the angle steps of spinning sprays and the groups of
// eight-way rings. Angle steps and offsets are double constants: a float angle plus such a
// constant is worked out in double and rounded to float where it is stored or handed on.
#pragma once

#include <span>

#include "enemyfire/enemyfire.h"

// A gun's position relative to the top-left corner of its boss.
struct GunOffset {
    int dx, dy;
};

// Where a gun of a boss is on the field. Every boss record starts with x and y.
template <typename Boss>
int GunX(const Boss& b, GunOffset gun) {
    return b.x + gun.dx;
}
template <typename Boss>
int GunY(const Boss& b, GunOffset gun) {
    return b.y + gun.dy;
}

// A shot from (x, y) aimed at the pixel just above it, so that angle 0 goes straight up and a
// positive angle turns it clockwise. Called by the bosses' sprays and rings.
inline void FireUpFrom(int x, int y, double speed, double angle, int kind) {
    FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y - 1, static_cast<float>(speed), static_cast<float>(angle),
                kind);
}

// The same aimed at the pixel just below: angle 0 goes straight down. Called by the bosses'
// downward fans and showers.
inline void FireDownFrom(int x, int y, double speed, double angle, int kind) {
    FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y + 1, static_cast<float>(speed), static_cast<float>(angle),
                kind);
}

// The same from a gun of a boss.
template <typename Boss>
void FireUp(const Boss& b, GunOffset gun, double speed, double angle, int kind) {
    FireUpFrom(GunX(b, gun), GunY(b, gun), speed, angle, kind);
}
template <typename Boss>
void FireDown(const Boss& b, GunOffset gun, double speed, double angle, int kind) {
    FireDownFrom(GunX(b, gun), GunY(b, gun), speed, angle, kind);
}

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

// A ring of spokes from a gun: a full turn of them `spokeStep` apart, the first at the volley's
// base angle, each spoke one shot per offset. Each volley starts `baseStep` further round, the
// base going back to 0 once it reaches `baseLimit`.
struct Spokes {
    double speed, spokeStep;
    std::span<const double> offsets;
    double baseStep, baseLimit;
};
inline constexpr double ONE_SHOT[] = {0};

// One volley of spokes. The record's `angle` field runs through the spokes (and is left past
// the full turn); `jitter`, a float, is added to it in float before the offset.
template <typename Boss>
void FireSpokes(const Boss& b, GunOffset gun, const Spokes& s, float& angle, float& base, float jitter) {
    for (angle = base; angle < FULL_TURN; angle = static_cast<float>(angle + s.spokeStep)) {
        const float spoke = jitter + angle;
        for (double d : s.offsets) FireUp(b, gun, s.speed, spoke + d, BULLET_SMALL);
    }
    base = static_cast<float>(base + s.baseStep);
    if (base >= s.baseLimit) base = 0;
}

// The turns of the five eight-way rings of a ring group, close together around straight up (A)
// or a quarter turn further (B). Fired by the mid-boss and the second boss.
inline constexpr double RING_GROUP_A[] = {-0.2, -0.1, 0, 0.1, 0.2};
inline constexpr double RING_GROUP_B[] = {1.8, 1.9, 2.0, 2.1, 2.2};
