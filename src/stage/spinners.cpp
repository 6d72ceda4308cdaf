// Spinners: the small enemies of the last waves of a round. They come in pairs side by side,
// one pair every 15 frames, sink slowly and each sprays a turning stream: every third frame one
// bullet (two in round 2) whose direction turns 0.3 radians from shot to shot, starting straight
// up, so every member draws a spiral. The left pools turn clockwise, the right ones the other
// way; that is all that tells the pools apart.
// Fields: phase (0 waiting, 1 active), entryCounter stagger counter (counted by the waiting
// records, never held), work0 age (active frames), work1 fire counter, work5 spray angle (float).
#include "enemyfire/enemyfire.h"
#include "stage/stage.h"

namespace {

enum Phase { PHASE_WAITING, PHASE_ACTIVE };

// At each stagger count a pair of the pool's records starts.
struct PairEntry {
    int count;
    int firstMember;  // this member and the next
};
inline constexpr PairEntry SPINNER_ENTRY[] = {{0, 0}, {15, 2}, {30, 4}};

struct SpinnerPool {
    int first;    // index of the pool's first record
    double turn;  // added to the spray angle after each shot
};
inline constexpr SpinnerPool SPINNER_POOLS[] = {
    {POOL_SPINNERS_LEFT_A.first, +0.3},
    {POOL_SPINNERS_RIGHT_A.first, -0.3},
    {POOL_SPINNERS_LEFT_B.first, +0.3},
    {POOL_SPINNERS_RIGHT_B.first, -0.3},
};

inline constexpr int FIRE_AGE_LIMIT = 50;  // fires while younger, then only sinks
inline constexpr int FIRE_EVERY = 3;
inline constexpr double SPRAY_SPEED = 3.0;
inline constexpr double SECOND_SPRAY_SPEED = 4.0;  // round 2
inline constexpr int SINK_SPEED = 2;

double TurnOf(const EnemyPool& pool) {
    for (const SpinnerPool& p : SPINNER_POOLS) {
        if (p.first == pool.first) return p.turn;
    }
    return 0.0;
}

void CountEntry(Enemy& e, const EnemyPool& pool) {
    for (const PairEntry& step : SPINNER_ENTRY) {
        if (e.entryCounter == step.count) {
            g_enemies[pool.first + step.firstMember].phase = PHASE_ACTIVE;
            g_enemies[pool.first + step.firstMember + 1].phase = PHASE_ACTIVE;
        }
    }
    e.entryCounter += 1;
}

// One shot from the middle of the lower edge, aimed at the point one pixel above it: angle 0 is
// straight up and the stream turns from there.
void FireSpray(const Enemy& e, double speed) {
    const int x = e.x + 9;
    const int y = e.y + 18;
    FireAtPoint(static_cast<float>(x), static_cast<float>(y), x, y - 1, static_cast<float>(speed), FloatField(e.work5),
                BULLET_SMALL);
}

void SprayAndSink(Enemy& e, double turn) {
    if (e.work0 < FIRE_AGE_LIMIT) {
        if (e.work1 == FIRE_EVERY) {
            e.work1 = 0;
            FireSpray(e, SPRAY_SPEED);
            if (g_round == 2) FireSpray(e, SECOND_SPRAY_SPEED);
            SetFloatField(e.work5, static_cast<float>(FloatField(e.work5) + turn));
        }
        e.work1 += 1;
    }
    e.work0 += 1;
    e.y += SINK_SPEED;  // after the shot: the shot leaves from where the spinner was
}

}  // namespace

void UpdateSpinners(const EnemyPool& pool) {
    const double turn = TurnOf(pool);
    for (Enemy& e : Members(pool)) {
        if (e.alive != 1) continue;
        if (e.phase == PHASE_WAITING) CountEntry(e, pool);
        if (e.phase == PHASE_ACTIVE) SprayAndSink(e, turn);
    }
}
