// Motion and pacing shared by the bosses: the steady entry and the sway of the first and second
// bosses and the second mid-boss, the braking descent that brings the third, fourth and final
// bosses down from y -120 to y 12, the slow swing those three make while they fire (a sway with
// fixed sizes), and the two kinds of tick that pace their patterns. Angles are 32-bit floats in
// the records; the sway works out its position in double from the stored float angle, as every
// swaying enemy does.
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

// How one boss enters and sways: a steady entry of `entrySpeed` pixels a frame for
// `entryFrames` frames, then a sway of `amplitudeX` pixels about `centreX` and `amplitudeY`
// about `centreY`, the angle growing by `step` and starting over at 0 once it reaches `turn`.
struct BossMotion {
    int entryFrames, entrySpeed;
    double step, turn;
    int amplitudeX, centreX, amplitudeY, centreY;
};

// One frame of the steady entry; true while the boss is still entering (the caller then does
// nothing more this frame). Once entered, the counter is set one short of `entryFrames`, so the
// increment at the end of the caller's update keeps it there. Called by UpdateBossOne,
// UpdateBossTwo and UpdateMidBossTwo.
inline bool Enter(int32_t& y, int32_t& entryCounter, const BossMotion& m) {
    if (entryCounter < m.entryFrames) y += m.entrySpeed;
    if (entryCounter != m.entryFrames) {
        entryCounter += 1;
        return true;
    }
    entryCounter = m.entryFrames - 1;
    return false;
}

// One frame of the sway: the angle is tested for a full turn before it is used, the position is
// worked out in double and truncated, and only then does the angle step on. Called by the
// bosses' updates while their sway is switched on, and by Swing.
inline void Sway(int32_t& x, int32_t& y, float& angle, const BossMotion& m) {
    if (angle >= m.turn) angle = 0;
    const double a = angle;
    x = static_cast<int32_t>(std::sin(a) * m.amplitudeX + m.centreX);
    y = static_cast<int32_t>(std::cos(a) * m.amplitudeY + m.centreY);
    angle = static_cast<float>(angle + m.step);
}

// The full turn after which a swing starts over at angle 0.
inline constexpr double SWING_TURN = 6.28;

// One frame of the swing: a sway of 20 pixels to either side of centreX and 2 pixels about
// y 10. At angle 0 the boss stands where its descent ended. Called by the third, fourth and
// final bosses' updates while their swing is switched on.
inline void Swing(int32_t& x, int32_t& y, float& angle, int centreX, double step) {
    Sway(x, y, angle, BossMotion{0, 0, step, SWING_TURN, 20, centreX, 2, 10});
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
