// The third boss, g_bossThree: a narrow 40 x 96 core that closes stage 3 in both rounds, with
// two large side parts drawn beside it. It brakes down from y -120 in 23 frames, unfolds its
// side parts in three steps, and then a frame-counted script switches nine patterns on and off
// while the core sways or stands: rotating crosses and side fans, a closing and sweeping wall of
// large bullets, double fans with dense side streams, twin rings, two turning rings, a fan with
// four streams and a large burst. Each round has its own timings, and round 2 fires denser.
//
// Script events happen at fixed values of the script timer, and the patterns run after them;
// as in the second boss's second appearance the timer counts on only at the end of the frame
// (the fourth and final bosses count it on before their patterns). Killing the boss,
// scoring it, its time-out and its pictures belong to the collision pass, which draws the side
// parts from the source x held in partFrame.
#include <climits>

#include "enemyfire/enemyfire.h"
#include "sound/sound.h"
#include "stage/boss_guns.h"
#include "stage/boss_script.h"
#include "stage/stage.h"

namespace {

inline constexpr BossSwing SWING{80, 0.03};

// ---- gun points, relative to x, y
inline constexpr GunOffset C1{16, 47};
inline constexpr GunOffset C2{17, 47};
inline constexpr GunOffset C3{16, 46};
inline constexpr GunOffset C4{17, 46};
inline constexpr GunOffset LEFT_GUN{-20, 66};    // L
inline constexpr GunOffset RIGHT_GUN{54, 66};    // R
inline constexpr GunOffset LOWER_LEFT{-10, 60};  // DL
inline constexpr GunOffset LOWER_RIGHT{44, 60};  // DR
inline constexpr GunOffset TWIN_RING_1{12, 47};  // T1
inline constexpr GunOffset TWIN_RING_2{20, 47};  // T2
inline constexpr GunOffset TWIN_RING_AIM{16, 46};

// A shot from a gun towards a point of the field, turned by `angle`.
void FireFromAt(const BossThree& b, GunOffset gun, int targetX, int targetY, double speed, double angle, int kind) {
    FireAtPoint(static_cast<float>(GunX(b, gun)), static_cast<float>(GunY(b, gun)), targetX, targetY, static_cast<float>(speed),
                static_cast<float>(angle), kind);
}
// The same towards a point given relative to the boss.
void FireFromTowards(const BossThree& b, GunOffset gun, GunOffset aim, double speed, double angle, int kind) {
    FireFromAt(b, gun, b.x + aim.dx, b.y + aim.dy, speed, angle, kind);
}

// ---- per-round values of the patterns

// One sweep phase of the wall: until the sweep count reaches `end`, the wall turns one way
// (+1: the first phase), the other (-1) or not at all (0).
struct SweepSpan {
    int end;
    int phase;
};

// A set of side streams: the speed and the offsets -2s, -s, 0, s, 2s, 3s of its step s.
struct StreamSet {
    double speed;
    double offsets[6];
};
inline constexpr StreamSet STREAMS_FAST{3.0, {-0.08, -0.04, 0, 0.04, 0.08, 0.12}};  // s = 0.04
inline constexpr StreamSet STREAMS_SLOW{2.0, {-0.06, -0.03, 0, 0.03, 0.06, 0.09}};  // s = 0.03

struct RoundValues {
    int fanStreamsFanTick;  // fan of the fan and streams
    int fanStreamsStreamTick;
    double twinRingSpeed;
    int doubleFanFanTick;
    int doubleFanStreamTick;
    const StreamSet* streamSets[2];  // fired in this order; round 1 has one
    double wallLeftGaps[4];          // beyond the left spread, outer first
    double wallRightGaps[4];
    SweepSpan sweep[4];
    int sweepEnd;           // the wall switches itself off at this sweep count
    int sideFanCapture;     // the side fans capture at this tick and fire at the next
    double crossSpeeds[2];  // 0 = no second cross
};

inline constexpr int NO_END = INT_MAX;

// clang-format off
inline constexpr RoundValues ROUND_1{
    .fanStreamsFanTick = 16,
    .fanStreamsStreamTick = 2,
    .twinRingSpeed = 3.0,
    .doubleFanFanTick = 32,
    .doubleFanStreamTick = 12,
    .streamSets = {&STREAMS_FAST, nullptr},
    .wallLeftGaps = {1.4, 1.0, 0.6, 0.2},
    .wallRightGaps = {1.4, 1.0, 0.6, 0.2},
    .sweep = {{10, +1}, {20, 0}, {NO_END, -1}, {NO_END, 0}},
    .sweepEnd = 40,
    .sideFanCapture = 99,
    .crossSpeeds = {3.0, 0},
};
// clang-format on

// clang-format off
inline constexpr RoundValues ROUND_2{
    .fanStreamsFanTick = 12,
    .fanStreamsStreamTick = 1,
    .twinRingSpeed = 4.0,
    .doubleFanFanTick = 24,
    .doubleFanStreamTick = 10,
    .streamSets = {&STREAMS_SLOW, &STREAMS_FAST},
    .wallLeftGaps = {0.8, 0.6, 0.4, 0.2},
    .wallRightGaps = {0.7, 0.5, 0.3, 0.1},
    .sweep = {{10, +1}, {30, -1}, {50, +1}, {60, -1}},
    .sweepEnd = 60,
    .sideFanCapture = 29,
    .crossSpeeds = {3.0, 2.0},
};
// clang-format on

const RoundValues& Round() { return g_round == 2 ? ROUND_2 : ROUND_1; }

// ---- the patterns

inline constexpr double RING_STEP = 0.3;         // 21 bullets a ring
inline constexpr double TWIN_RING_STEP = 0.785;  // 9 bullets a ring: the ninth nearly repeats the first

// A ring of 21 from straight up, turned by `turn`; the step is kept in the record.
void FireTurnedRing(const BossThree& b, GunOffset gun, float& step, float turn, int kind) {
    step = 0;
    do {
        FireUp(b, gun, 3.0, step + turn, kind);
        step = static_cast<float>(step + RING_STEP);
    } while (step < FULL_TURN);
}

void Burst(BossThree& b) {
    if (TickReaches(b.burstTick, 8)) {
        PlayEnemyFireSound();
        FireTurnedRing(b, C1, b.burstStep, b.burstTurn, BULLET_LARGE);
        b.burstTurn = static_cast<float>(b.burstTurn + 0.05);
        if (b.burstTurn >= 0.25) b.burstTurn = 0;
    }
    b.burstTick += 1;
}

inline constexpr double FAN_NINE[] = {-1.2, -0.9, -0.6, -0.3, 0, 0.3, 0.6, 0.9, 1.2};

void FanAndStreams(BossThree& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.fanStreamsFanTick, r.fanStreamsFanTick)) {
        for (double d : FAN_NINE) {
            FireAimed(static_cast<float>(GunX(b, C2)), static_cast<float>(GunY(b, C2)), 2.0f, static_cast<float>(d),
                      BULLET_SMALL);
        }
    }
    b.fanStreamsFanTick += 1;
    if (TickReaches(b.fanStreamsStreamTick, r.fanStreamsStreamTick)) {
        const float a = b.fanStreamsAngleA, c = b.fanStreamsAngleB;
        FireUp(b, LEFT_GUN, 2.0, a, BULLET_SMALL);
        FireDown(b, LEFT_GUN, 2.0, c, BULLET_SMALL);
        FireUp(b, RIGHT_GUN, 2.0, c, BULLET_SMALL);
        FireDown(b, RIGHT_GUN, 2.0, a, BULLET_SMALL);
        SpinClockwise(b.fanStreamsAngleA, 0.3);
        SpinAnticlockwise(b.fanStreamsAngleB, 0.3);
    }
    b.fanStreamsStreamTick += 1;
}

// Turning rings A and B differ only in the way they turn.
void FireTurningRing(BossThree& b, int32_t& tick, float& step, float& turn, double turnStep) {
    if (TickReaches(tick, 2)) {
        FireTurnedRing(b, C2, step, turn, BULLET_SMALL);
        turn = static_cast<float>(turn + turnStep);
    }
    tick += 1;
}
void TurningRingA(BossThree& b) { FireTurningRing(b, b.turningRingATick, b.turningRingAStep, b.turningRingATurn, 0.07); }
void TurningRingB(BossThree& b) { FireTurningRing(b, b.turningRingBTick, b.turningRingBStep, b.turningRingBTurn, -0.07); }

void FireTwinRing(const BossThree& b, GunOffset gun, float& step, float angle, double speed) {
    step = 0;
    do {
        FireFromTowards(b, gun, TWIN_RING_AIM, speed, angle + step, BULLET_SMALL);
        step = static_cast<float>(step + TWIN_RING_STEP);
    } while (step < FULL_TURN);
}

void TwinRings(BossThree& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.twinRingTick, 2)) {
        PlayEnemyFireSound();
        FireTwinRing(b, TWIN_RING_1, b.twinRingStep, b.twinRingAngleC, r.twinRingSpeed);
        FireTwinRing(b, TWIN_RING_2, b.twinRingStep, b.twinRingAngleD, r.twinRingSpeed);
        // These two test for the full turn before they step.
        if (b.twinRingAngleC <= -FULL_TURN) b.twinRingAngleC = 0;
        b.twinRingAngleC = static_cast<float>(b.twinRingAngleC - 0.15);
        if (b.twinRingAngleD >= FULL_TURN) b.twinRingAngleD = 0;
        b.twinRingAngleD = static_cast<float>(b.twinRingAngleD + 0.15);
    }
    b.twinRingTick += 1;
}

inline constexpr double DOUBLE_FAN_SLOW[] = {-0.6, -0.2, 0.2, 0.6};
inline constexpr double DOUBLE_FAN_FAST[] = {-0.6, -0.4, -0.2, 0.2, 0.4, 0.6};

// One line of a stream set: from a gun towards an aim point (both relative to the boss), the
// angles a + k s (or b + k s) for k from `first` to `last`.
struct StreamLine {
    GunOffset gun;
    GunOffset aim;
    bool angleA;
    int first, last;
};
inline constexpr StreamLine STREAM_LINES[] = {
    {LEFT_GUN, {-19, 66}, true, -1, 3},     // to the right
    {RIGHT_GUN, {33, 66}, false, -1, 2},    // to the left
    {LEFT_GUN, {-19, 66}, true, 3, 3},      // a second bullet on the path of the fifth
    {LOWER_LEFT, {-9, 61}, true, -2, 2},    // down and right
    {LOWER_RIGHT, {43, 61}, false, -2, 2},  // down and left
    {LEFT_GUN, {-20, 67}, true, -2, 2},     // down
    {RIGHT_GUN, {54, 67}, false, -2, 2},    // down
};

void FireStreamSet(const BossThree& b, const StreamSet& set) {
    for (const StreamLine& line : STREAM_LINES) {
        const float base = line.angleA ? b.doubleFanAngleA : b.doubleFanAngleB;
        for (int k = line.first; k <= line.last; ++k) {
            FireFromTowards(b, line.gun, line.aim, set.speed, base + set.offsets[k + 2], BULLET_SMALL);
        }
    }
}

void DoubleFans(BossThree& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.doubleFanFanTick, r.doubleFanFanTick)) {
        const float gx = static_cast<float>(GunX(b, C3)), gy = static_cast<float>(GunY(b, C3));
        for (double d : DOUBLE_FAN_SLOW) FireAimed(gx, gy, 2.0f, static_cast<float>(d), BULLET_SMALL);
        for (double d : DOUBLE_FAN_FAST) FireAimed(gx, gy, 3.0f, static_cast<float>(d), BULLET_SMALL);
    }
    b.doubleFanFanTick += 1;
    if (TickReaches(b.doubleFanStreamTick, r.doubleFanStreamTick)) {
        for (const StreamSet* set : r.streamSets) {
            if (set != nullptr) FireStreamSet(b, *set);
        }
        SpinClockwise(b.doubleFanAngleA, 0.4);
        SpinAnticlockwise(b.doubleFanAngleB, 0.4);
    }
    b.doubleFanStreamTick += 1;
}

// ---- the wall: four large bullets on each side of the line to the captured point, none on
// it; the gap closes, holds, then sweeps to and fro and the wall stops by itself.

enum WallStage { WALL_CLOSING = 0, WALL_HOLDING = 1, WALL_SWEEPING = 2 };
inline constexpr double WALL_SPEED = 6.0;
inline constexpr double WALL_CLOSE_STEP = 0.1;
inline constexpr double WALL_SWEEP_STEP = 0.05;
inline constexpr int WALL_HOLD_VOLLEYS = 20;
inline constexpr int WALL_SWEEP_SIDE_X = 19;  // a target right of x + 19 sweeps the other way first

void FireWallVolley(const BossThree& b, const RoundValues& r) {
    const double l = b.wallSpreadLeft, rs = b.wallSpreadRight;
    for (double gap : r.wallLeftGaps) {
        FireFromAt(b, C3, b.wallTargetX, b.wallTargetY, WALL_SPEED, -(l + gap), BULLET_LARGE);
    }
    for (double gap : r.wallRightGaps) {
        FireFromAt(b, C3, b.wallTargetX, b.wallTargetY, WALL_SPEED, rs + gap, BULLET_LARGE);
    }
}

void SweepWall(BossThree& b, const RoundValues& r) {
    const int n = b.wallSweepCount;
    for (const SweepSpan& span : r.sweep) {
        if (n >= span.end) continue;
        // Direction 0 turns the first phase one way, direction 1 the other.
        const double step = span.phase * (b.wallSweepDirection == 0 ? WALL_SWEEP_STEP : -WALL_SWEEP_STEP);
        b.wallSpreadLeft = static_cast<float>(b.wallSpreadLeft + step);
        b.wallSpreadRight = static_cast<float>(b.wallSpreadRight - step);
        break;
    }
    if (n >= r.sweepEnd) b.wallSwitch = 0;
    b.wallSweepCount += 1;
}

void Wall(BossThree& b) {
    const RoundValues& r = Round();
    if (b.wallTargetCaptured == 0) {
        CaptureShipTarget(&b.wallTargetX, &b.wallTargetY);
        b.wallTargetCaptured = 1;
    }
    if (TickReaches(b.wallTick, 2)) {
        PlayEnemyFireSound();
        FireWallVolley(b, r);
        // The stages are tested in turn, so a change of stage already acts in this volley.
        if (b.wallStage == WALL_CLOSING) {
            b.wallSpreadLeft = static_cast<float>(b.wallSpreadLeft - WALL_CLOSE_STEP);
            b.wallSpreadRight = static_cast<float>(b.wallSpreadRight - WALL_CLOSE_STEP);
            if (!(b.wallSpreadLeft > 0)) b.wallStage = WALL_HOLDING;
        }
        if (b.wallStage == WALL_HOLDING) {
            if (b.wallHoldCount == WALL_HOLD_VOLLEYS) {
                b.wallSweepDirection = b.wallTargetX > b.x + WALL_SWEEP_SIDE_X ? 1 : 0;
                b.wallStage = WALL_SWEEPING;
            }
            b.wallHoldCount += 1;
        }
        if (b.wallStage == WALL_SWEEPING) SweepWall(b, r);
    }
    b.wallTick += 1;
}

inline constexpr double SIDE_FAN[] = {-1.5, -1.2, -0.9, -0.6, -0.3, 0, 0.3, 0.6, 0.9, 1.2, 1.5};
inline constexpr double SIDE_FAN_SPEEDS[] = {2.0, 3.0};

// Round 1 captures at tick 99 and fires at 100, round 2 at 29 and past 29: both fire on the
// tick after the capture.
void SideFans(BossThree& b) {
    const RoundValues& r = Round();
    if (b.sideFanTick == r.sideFanCapture) CaptureShipTarget(&b.sideFanTargetX, &b.sideFanTargetY);
    if (TickReaches(b.sideFanTick, r.sideFanCapture + 1)) {
        const int tx = b.sideFanTargetX, ty = b.sideFanTargetY;
        for (double speed : SIDE_FAN_SPEEDS) {
            for (double d : SIDE_FAN) FireFromAt(b, LEFT_GUN, tx, ty, speed, d, BULLET_SMALL);
            for (double d : SIDE_FAN) FireFromAt(b, RIGHT_GUN, tx, ty, speed, d, BULLET_SMALL);
        }
    }
    b.sideFanTick += 1;
}

inline constexpr double CROSS_SPREAD[] = {-0.1, 0, 0.1};
// Up, down, left and right of C4.
inline constexpr GunOffset CROSS_AIMS[] = {{17, 45}, {17, 47}, {16, 46}, {18, 46}};

void Cross(BossThree& b) {
    const RoundValues& r = Round();
    if (TickReaches(b.crossTick, 6)) {
        for (double speed : r.crossSpeeds) {
            if (speed == 0) continue;
            for (double d : CROSS_SPREAD) {
                for (GunOffset aim : CROSS_AIMS) FireFromTowards(b, C4, aim, speed, b.crossAngle + d, BULLET_SMALL);
            }
        }
        SpinClockwise(b.crossAngle, 0.6);
    }
    b.crossTick += 1;
}

// ---- the pattern table, in the order the patterns run within a frame; the double fans and the
// fan and streams keep their fan ticks: they count on from where the last run left them

// The wall starts wide open.
void OpenWall(BossThree& b) {
    b.wallSpreadLeft = 1.0f;
    b.wallSpreadRight = 1.0f;
}

enum PatternRow { BURST, FAN_AND_STREAMS, TURNING_RING_B, TURNING_RING_A, TWIN_RINGS, DOUBLE_FANS, WALL, SIDE_FANS, CROSS };
// clang-format off
inline constexpr Pattern<BossThree> PATTERNS[] = {
    {&BossThree::burstSwitch, Burst, {&BossThree::burstTick}, {&BossThree::burstStep, &BossThree::burstTurn}},
    {&BossThree::fanStreamsSwitch, FanAndStreams, {&BossThree::fanStreamsStreamTick}, {&BossThree::fanStreamsAngleA, &BossThree::fanStreamsAngleB}},
    {&BossThree::turningRingBSwitch, TurningRingB, {&BossThree::turningRingBTick}, {&BossThree::turningRingBStep, &BossThree::turningRingBTurn}},
    {&BossThree::turningRingASwitch, TurningRingA, {&BossThree::turningRingATick}, {&BossThree::turningRingAStep, &BossThree::turningRingATurn}},
    {&BossThree::twinRingSwitch, TwinRings, {&BossThree::twinRingTick}, {&BossThree::twinRingAngleC, &BossThree::twinRingAngleD}},
    {&BossThree::doubleFanSwitch, DoubleFans, {&BossThree::doubleFanStreamTick}, {&BossThree::doubleFanAngleA, &BossThree::doubleFanAngleB}},
    {&BossThree::wallSwitch, Wall, {&BossThree::wallTargetCaptured, &BossThree::wallTargetX, &BossThree::wallTargetY, &BossThree::wallTick, &BossThree::wallStage, &BossThree::wallHoldCount, &BossThree::wallSweepDirection, &BossThree::wallSweepCount}, {}, OpenWall},
    {&BossThree::sideFanSwitch, SideFans, {&BossThree::sideFanTick, &BossThree::sideFanTargetX, &BossThree::sideFanTargetY}},
    {&BossThree::crossSwitch, Cross, {&BossThree::crossTick}, {&BossThree::crossAngle}},
};
// clang-format on

// ---- the script

inline constexpr int PART_FRAMES[] = {80, 160, 240};  // source x of the side parts, step by step

void PartsOpening(BossThree& b) { b.partFrame = PART_FRAMES[0]; }
void PartsHalf(BossThree& b) { b.partFrame = PART_FRAMES[1]; }
void PartsOpen(BossThree& b) {
    PlaySoundEffect(SoundEffect::BossAction);
    b.partFrame = PART_FRAMES[2];
}
void StandStill(BossThree& b) { b.swaySwitch = 0; }
void SwayAgain(BossThree& b) { b.swaySwitch = 1; }
// Back to 19: the timer's increment at the end of the frame makes it 20.
void Restart(BossThree& b) { b.scriptTimer = 19; }

enum ActionRow { PARTS_OPENING, PARTS_HALF, PARTS_OPEN, STAND_STILL, SWAY, RESTART };
inline constexpr Action<BossThree> ACTIONS[] = {PartsOpening, PartsHalf, PartsOpen, StandStill, SwayAgain, Restart};

inline constexpr ScriptEvent SCRIPT[] = {
    {0, 0, {Do(PARTS_OPENING)}},
    {2, 2, {Do(PARTS_HALF)}},
    {4, 4, {Do(PARTS_OPEN)}},
    {20, 20, {On(CROSS), On(SIDE_FANS)}},
    {350, 350, {Do(STAND_STILL), Off(CROSS), Off(SIDE_FANS)}},
    {400, 360, {On(WALL)}},
    {560, 560, {Do(SWAY)}},
    {600, 560, {On(DOUBLE_FANS)}},
    {1100, 1070, {Do(STAND_STILL), Off(DOUBLE_FANS)}},
    {1150, 1090, {On(WALL)}},
    {1320, 1280, {Do(SWAY)}},
    {1350, 1280, {On(TWIN_RINGS)}},
    {1500, 1400, {Off(TWIN_RINGS)}},
    {1550, 1410, {On(TURNING_RING_A), Do(STAND_STILL)}},
    {1563, 1430, {Off(TURNING_RING_A)}},
    {1580, 1440, {On(TURNING_RING_B)}},
    {1593, 1460, {Off(TURNING_RING_B)}},
    {1620, 1470, {On(FAN_AND_STREAMS)}},
    {1700, 1570, {On(BURST)}},
    {1900, 2400, {Off(BURST), Off(FAN_AND_STREAMS)}},
    {2000, 2500, {Do(SWAY), Do(RESTART)}},
};

void Frame(BossThree& b) {
    if (b.swaySwitch != 0) Swing(b.x, b.y, b.swayAngle, SWING);
    RunScriptFrame<BossThree>(b, SCRIPT, PATTERNS, ACTIONS, TimerStep::AfterPatterns);
}

}  // namespace

void UpdateBossThree() { RunDescendingBoss(g_bossThree, Frame); }
