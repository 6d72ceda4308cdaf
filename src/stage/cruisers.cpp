// Cruisers and frigates: the large enemies (48 x 48, 40 hit points) that come as a formation of
// six, one every 40 frames in a fixed order, brake to a halt 90 pixels lower in the upper field
// and open fire before sinking away. A cruiser fires two rings of small bullets, each followed by
// a tight fan of large ones at the ship; a frigate fires three rings and, between them, streams
// from its wing guns, first the left, then the right, then the left again, at the point where
// the ship was at the last ring.
// Fields: phase (0 waiting, 1 braking descent, 2 firing), entryCounter stagger counter (counted
// by the waiting records, never held), work0 descent speed (6 from the spawner), work1 brake
// tick, work2 fire age, work4 wing-gun counter (frigate), work5/work6 the captured aim point
// (frigate), work8/work9 the ring angle as one 64-bit double.
#include <span>

#include "enemyfire/enemyfire.h"
#include "stage/kind_shapes.h"

namespace {

enum Phase { PHASE_WAITING, PHASE_BRAKING, PHASE_FIRING };

// The formation's order of entry: at each stagger count, the member at that position of the
// pool starts (x 58, 10, 142, 94, 58, 94).
struct EntryStep {
    int count;
    int member;
};
inline constexpr EntryStep FORMATION_ENTRY[] = {{0, 1}, {40, 0}, {80, 3}, {120, 2}, {160, 4}, {200, 5}};

inline constexpr int BRAKE_EVERY = 4;  // the descent speed drops by one ...
inline constexpr int LAST_SPEED = 1;   // ... and the ship stops when it drops from this
inline constexpr int SINK_SPEED = 2;

// The ring leaves the nose at R = (x + 21, y + 27), aimed one pixel above it: angle 0 is up.
inline constexpr int NOSE_X = 21, NOSE_Y = 27;
inline constexpr double RING_STEP = 0.24;

// ---- cruiser
inline constexpr int CRUISER_VOLLEYS[] = {0, 30};  // fire ages
inline constexpr int CRUISER_SINK_AFTER = 30;      // sinks once the fire age is past it
inline constexpr double CRUISER_RING_SPEEDS_ROUND_1[] = {3.0};
inline constexpr double CRUISER_RING_SPEEDS_ROUND_2[] = {2.0, 3.0};
inline constexpr double CRUISER_FAN_SPEED_ROUND_1 = 4.0;
inline constexpr double CRUISER_FAN_SPEED_ROUND_2 = 5.0;
inline constexpr double CRUISER_FAN[] = {-0.2, -0.15, -0.1, -0.05, 0, 0.05, 0.1, 0.15, 0.2};  // no jitter

// ---- frigate
inline constexpr int FRIGATE_RINGS[] = {0, 20, 40};  // fire ages; each re-aims the wing guns
inline constexpr int FRIGATE_SINK_AFTER = 60;
inline constexpr double FRIGATE_RING_SPEEDS_ROUND_1[] = {2.0};
inline constexpr double FRIGATE_RING_SPEEDS_ROUND_2[] = {2.0, 3.0};
inline constexpr int LEFT_GUN_X = 3, RIGHT_GUN_X = 39, GUN_Y = 39;
// Which gun streams during which fire ages: the windows follow one another without a gap.
struct GunWindow {
    int end;  // fire age the window runs up to (exclusive)
    int gunX;
};
inline constexpr GunWindow FRIGATE_GUN_WINDOWS[] = {{20, LEFT_GUN_X}, {40, RIGHT_GUN_X}, {60, LEFT_GUN_X}};
inline constexpr int STREAM_EVERY_ROUND_1 = 3;
inline constexpr int STREAM_EVERY_ROUND_2 = 2;
inline constexpr double STREAM_SPEED_ROUND_1 = 3.0;
inline constexpr double STREAM_SPEED_ROUND_2 = 4.0;

// The ring angle is a double spread over two int fields.
double RingAngle(const LargeEnemy& e) { return DoubleField(e.work8, e.work9); }
void SetRingAngle(LargeEnemy& e, double angle) { SetDoubleField(e.work8, e.work9, angle); }

// Entry and the braking descent, shared by both kinds. Returns true while the record fires.
bool MoveFormationMember(LargeEnemy& e, int first) {
    if (e.phase == PHASE_WAITING) {
        for (const EntryStep& step : FORMATION_ENTRY) {
            if (e.entryCounter == step.count) g_largeEnemies[first + step.member].phase = PHASE_BRAKING;
        }
        e.entryCounter += 1;
    }
    if (e.phase == PHASE_BRAKING) {
        e.y += e.work0;
        if (e.work1 == BRAKE_EVERY) {
            e.work1 = 0;
            if (e.work0 == LAST_SPEED) e.phase = PHASE_FIRING;  // firing starts in this frame
            e.work0 -= 1;
        }
        e.work1 += 1;
    }
    return e.phase == PHASE_FIRING;
}

// 27 directions, one bullet per listed speed in each, from straight up clockwise.
void FireRing(LargeEnemy& e, std::span<const double> speeds) {
    const int x = e.x + NOSE_X;
    const int y = e.y + NOSE_Y;
    SetRingAngle(e, 0.0);
    do {
        for (double speed : speeds) {
            FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y - 1, static_cast<float>(speed),
                        static_cast<float>(RingAngle(e)), BULLET_SMALL);
        }
        SetRingAngle(e, RingAngle(e) + RING_STEP);
    } while (RingAngle(e) < FULL_TURN);
}

void FireCruiserVolley(LargeEnemy& e) {
    const double fanSpeed = g_round == 2 ? CRUISER_FAN_SPEED_ROUND_2 : CRUISER_FAN_SPEED_ROUND_1;
    if (g_round == 2) {
        FireRing(e, CRUISER_RING_SPEEDS_ROUND_2);
    } else {
        FireRing(e, CRUISER_RING_SPEEDS_ROUND_1);
    }
    for (double d : CRUISER_FAN) {
        FireAimed(static_cast<float>(e.x + NOSE_X), static_cast<float>(e.y + NOSE_Y), static_cast<float>(fanSpeed),
                  static_cast<float>(d), BULLET_LARGE);
    }
}

// The wing gun that streams at this fire age, or -1 once the streams are over.
int StreamingGunX(int age) {
    for (const GunWindow& window : FRIGATE_GUN_WINDOWS) {
        if (age < window.end) return window.gunX;
    }
    return -1;
}

void FireFrigate(LargeEnemy& e) {
    const int age = e.work2;
    if (IsOneOf(age, FRIGATE_RINGS)) {
        CaptureShipTarget(&e.work5, &e.work6);
        if (g_round == 2) {
            FireRing(e, FRIGATE_RING_SPEEDS_ROUND_2);
        } else {
            FireRing(e, FRIGATE_RING_SPEEDS_ROUND_1);
        }
    }
    const int gunX = StreamingGunX(age);
    if (gunX < 0) return;
    const int every = g_round == 2 ? STREAM_EVERY_ROUND_2 : STREAM_EVERY_ROUND_1;
    if (e.work4 == every) {
        e.work4 = 0;
        const double speed = g_round == 2 ? STREAM_SPEED_ROUND_2 : STREAM_SPEED_ROUND_1;
        FireAtPoint(static_cast<float>(e.x + gunX), static_cast<float>(e.y + GUN_Y), e.work5, e.work6, static_cast<float>(speed),
                    0.0f, BULLET_SMALL);
    }
    e.work4 += 1;  // runs on from one window into the next
}

}  // namespace

void UpdateCruisers() {
    for (int i = FIRST_CRUISER; i < FIRST_CRUISER + FORMATION_COUNT; ++i) {
        LargeEnemy& e = g_largeEnemies[i];
        if (e.alive != 1) continue;
        if (!MoveFormationMember(e, FIRST_CRUISER)) continue;
        if (IsOneOf(e.work2, CRUISER_VOLLEYS)) FireCruiserVolley(e);
        if (e.work2 > CRUISER_SINK_AFTER) e.y += SINK_SPEED;
        e.work2 += 1;
    }
}

void UpdateFrigates() {
    for (int i = FIRST_FRIGATE; i < FIRST_FRIGATE + FORMATION_COUNT; ++i) {
        LargeEnemy& e = g_largeEnemies[i];
        if (e.alive != 1) continue;
        if (!MoveFormationMember(e, FIRST_FRIGATE)) continue;
        FireFrigate(e);
        if (e.work2 > FRIGATE_SINK_AFTER) e.y += SINK_SPEED;
        e.work2 += 1;
    }
}
