// Pieces shared by the third, fourth and final bosses: the braking descent that brings each of
// them down from y -120 to y 12, the slow swing they make while they fire, and the two kinds of
// tick that pace their patterns. Angles are 32-bit floats in the records; the swing works out its
// position in double from the stored float angle, as every swaying enemy does.
#pragma once

#include <cmath>
#include <cstdint>

// One frame of the descent: 11 pixels a frame, one less every second frame from the third on,
// so 11, 11, 10, 10, ..., 1, 1, 0: from y -120 the boss stands at y 12 in its 23rd frame, when
// `entered` is set. Called by the bosses' updates while `entered` is 0.
inline void Descend(int32_t& y, int32_t& entrySpeed, int32_t& entryTick, int32_t& entered) {
    if (entryTick == 2) {
        entryTick = 0;
        entrySpeed -= 1;
    }
    entryTick += 1;
    y += entrySpeed;
    if (entrySpeed <= 0) entered = 1;
}

// The full turn after which a swing starts over at angle 0.
inline constexpr double SWING_TURN = 6.28;

// One frame of the swing: 20 pixels to either side of centreX and 2 pixels about y 10, the
// angle tested for a full turn before it is used. At angle 0 the boss stands where its descent
// ended. Called by the bosses' updates while their swing is switched on.
inline void Swing(int32_t& x, int32_t& y, float& angle, int centreX, double step) {
    if (angle >= SWING_TURN) angle = 0;
    const double a = angle;
    x = static_cast<int32_t>(std::sin(a) * 20 + centreX);
    y = static_cast<int32_t>(std::cos(a) * 2 + 10);
    angle = static_cast<float>(angle + step);
}

// A tick tested for equality: true (and the tick back to 0) when it reads n. The caller fires
// and then adds 1, so a cleared tick fires on its (n + 1)-th frame and then every n frames.
inline bool TickReaches(int32_t& tick, int n) {
    if (tick != n) return false;
    tick = 0;
    return true;
}

// A tick tested for being past n: the same, but a cleared tick fires on its (n + 2)-th frame
// and then every n + 1 frames.
inline bool TickPasses(int32_t& tick, int n) {
    if (tick <= n) return false;
    tick = 0;
    return true;
}
