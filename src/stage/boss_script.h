// How every boss and mid-boss is written: its motion, a table of named patterns, a script
// table per appearance and one set of values for what differs in round 2.
//
// A pattern is a row of the boss's pattern table: the switch that says it runs, what each of its
// frames does, and what switching it on clears (counters and angles by name, and anything else
// in a start of its own). The rows stand in the order the patterns run within a frame. A script
// is a table of events, each at a value of the script timer in round 1 and in round 2 (NEVER
// where it does not happen in that round), with the steps taken then, in order: switch a pattern
// on or off, or do one of the boss's actions (a single volley, a change of picture, a restart of
// the timer). Every pattern tick fires when it reaches its value (TickReaches).
//
// The motions: the steady entry and the sway of the first and second bosses and the second
// mid-boss, the braking descent that brings the third, fourth and final bosses down from y -120
// to y 12, and the slow swing those three make while they fire (a sway with fixed sizes). Angles
// are 32-bit floats in the records; the sway works out its position in double from the stored
// float angle, as every swaying enemy does. The mid-boss and its escort move as midboss_craft.h says.
#pragma once

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <span>

#include "enemyfire/enemyfire.h"
#include "stage/stage.h"

// ---- ticks

// A pattern's tick: true (and the tick back to 0) when it reads n. The caller fires and then
// adds 1, so a cleared tick fires on its (n + 1)-th frame and then every n frames.
inline bool TickReaches(int32_t& tick, int n) {
    if (tick != n) return false;
    tick = 0;
    return true;
}

// ---- patterns and scripts

template <typename Boss>
struct Pattern {
    int32_t Boss::*on;                           // the switch: nonzero while the pattern runs
    void (*frame)(Boss&);                        // one frame of it
    std::array<int32_t Boss::*, 10> counters{};  // set to 0 when it starts
    std::array<float Boss::*, 4> angles{};       // set to 0 when it starts
    void (*start)(Boss&) = nullptr;              // anything else its start does
};

// One thing a script does: switch a pattern (a row of the pattern table) on or off, or do an
// action (a row of the action table).
enum class Verb { None, On, Off, Do };
struct Step {
    Verb verb = Verb::None;
    int what = 0;
};
constexpr Step On(int pattern) { return {Verb::On, pattern}; }
constexpr Step Off(int pattern) { return {Verb::Off, pattern}; }
constexpr Step Do(int action) { return {Verb::Do, action}; }

inline constexpr int NEVER = INT_MIN;  // a script timer never reads this

// What a script does at one value of the script timer in each round, step by step.
struct ScriptEvent {
    int round1, round2;
    std::array<Step, 4> steps;  // the unused ones are Verb::None
};

template <typename Boss>
using Action = void (*)(Boss&);

// Switches a pattern on: its switch to 1, its counters and angles to 0, then the rest of its start.
template <typename Boss>
void Start(Boss& b, const Pattern<Boss>& p) {
    b.*p.on = 1;
    for (int32_t Boss::*counter : p.counters) {
        if (counter != nullptr) b.*counter = 0;
    }
    for (float Boss::*angle : p.angles) {
        if (angle != nullptr) b.*angle = 0;
    }
    if (p.start != nullptr) p.start(b);
}

// Performs the events of the script timer's value, in table order. The time is read before the
// events act, so an event that sets the timer back does not bring on the events of its new value.
template <typename Boss>
void RunScript(Boss& b, std::span<const ScriptEvent> script, std::span<const Pattern<Boss>> patterns,
               std::span<const Action<Boss>> actions) {
    const int time = b.scriptTimer;
    for (const ScriptEvent& e : script) {
        if ((g_round == 2 ? e.round2 : e.round1) != time) continue;
        for (const Step& step : e.steps) {
            switch (step.verb) {
                case Verb::None: break;
                case Verb::On: Start(b, patterns[step.what]); break;
                case Verb::Off: b.*patterns[step.what].on = 0; break;
                case Verb::Do: actions[step.what](b); break;
            }
        }
    }
}

// One frame of every pattern whose switch is on, in table order.
template <typename Boss>
void RunPatterns(Boss& b, std::span<const Pattern<Boss>> patterns) {
    for (const Pattern<Boss>& p : patterns) {
        if (b.*p.on != 0) p.frame(b);
    }
}

// Where the script timer counts on in a boss's frame: between the script's events and the
// patterns, as most bosses have it, or after the patterns.
enum class TimerStep { BeforePatterns, AfterPatterns };

// The script's events, then the patterns, with the timer's increment where `step` says.
template <typename Boss>
void RunScriptFrame(Boss& b, std::span<const ScriptEvent> script, std::span<const Pattern<Boss>> patterns,
                    std::span<const Action<Boss>> actions, TimerStep step = TimerStep::BeforePatterns) {
    RunScript(b, script, patterns, actions);
    if (step == TimerStep::BeforePatterns) b.scriptTimer += 1;
    RunPatterns(b, patterns);
    if (step == TimerStep::AfterPatterns) b.scriptTimer += 1;
}

// ---- motion

// The descent of the third, fourth and final bosses: 11 pixels a frame, one less every second
// frame from the third on, so 11, 11, 10, 10, ..., 1, 1, 0: from y -120 the boss stands at y 12
// in its 23rd frame, when `entered` is set. True, from that frame on, once the boss is in place
// (and alive): its update then goes on to its script.
template <typename Boss>
bool Descended(Boss& b) {
    if (b.alive != 1) return false;
    if (b.entered != 0) return true;
    if (b.entryTick == 2) {
        b.entryTick = 0;
        b.entrySpeed -= 1;
    }
    b.entryTick += 1;
    b.y += b.entrySpeed;
    if (b.entrySpeed <= 0) b.entered = 1;
    return b.entered != 0;
}

// How one boss enters and sways: a steady entry of `entrySpeed` pixels a frame for
// `entryFrames` frames, then a sway of `amplitudeX` pixels about `centreX` and `amplitudeY`
// about `centreY`, the angle growing by `step` and starting over at 0 once it reaches a full turn.
struct BossMotion {
    int entryFrames, entrySpeed;
    double step;
    int amplitudeX, centreX, amplitudeY, centreY;
};

// One frame of the steady entry; true while the boss is still entering (the caller then does
// nothing more this frame). Once entered, the counter is set one short of `entryFrames`, so the
// increment at the end of the caller's update keeps it there.
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
// worked out in double and truncated, and only then does the angle step on.
inline void Sway(int32_t& x, int32_t& y, float& angle, const BossMotion& m) {
    if (angle >= FULL_TURN) angle = 0;
    const double a = angle;
    x = static_cast<int32_t>(std::sin(a) * m.amplitudeX + m.centreX);
    y = static_cast<int32_t>(std::cos(a) * m.amplitudeY + m.centreY);
    angle = static_cast<float>(angle + m.step);
}

// The swing of a boss that descends: a sway of 20 pixels to either side of centreX and 2
// pixels about y 10, the angle growing by `step`. At angle 0 the boss stands where its descent
// ended.
struct BossSwing {
    int centreX;
    double step;
};

// One frame of it; called by the third, fourth and final bosses while their swing is on.
inline void Swing(int32_t& x, int32_t& y, float& angle, const BossSwing& s) {
    Sway(x, y, angle, BossMotion{0, 0, s.step, 20, s.centreX, 2, 10});
}

// The frame of a boss that descends (the third, fourth and final bosses): nothing unless
// alive, then the descent, then from the frame it arrives the boss's own frame.
template <typename Boss>
void RunDescendingBoss(Boss& b, void (*frame)(Boss&)) {
    if (Descended(b)) frame(b);
}

// The frame of a boss that enters steadily and sways (the first and second bosses and the
// second mid-boss): nothing unless alive; the entry; then the sway while it is on, one frame of
// the appearance's script and patterns, and the entry counter held at its end.
template <typename Boss>
void RunSwayingBoss(Boss& b, const BossMotion& m, void (*appearanceFrame)(Boss&)) {
    if (b.alive != 1) return;
    if (Enter(b.y, b.entryCounter, m)) return;
    if (b.swaySwitch == 1) Sway(b.x, b.y, b.swayAngle, m);
    appearanceFrame(b);
    b.entryCounter += 1;
}
