// The one fixture of the enemy and boss tests: a fresh headless game in round 1 with ship A in
// play (its hit pixel at (75, 195)) and no aim jitter, and what the tests read off the bullet
// pools. Every wait for a game event is bounded: a wait that would hang fails.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "platform/platform.h"
#include "player/player.h"
#include "stage/stage.h"
#include "test_support.h"

// How many bullets of a pool are alive.
inline int LiveBullets(const EnemyBullet* pool, int count) {
    return static_cast<int>(std::count_if(pool, pool + count, [](const EnemyBullet& b) { return b.alive == 1; }));
}
inline int SmallBullets() { return LiveBullets(g_smallBullets, SMALL_BULLET_COUNT); }
inline int LargeBullets() { return LiveBullets(g_largeBullets, LARGE_BULLET_COUNT); }

// A bullet's direction of travel in radians.
inline double Heading(const EnemyBullet& b) { return std::atan2(b.vy, b.vx); }
// The signed turn from one heading to another, in (-pi, pi].
inline double Turn(double from, double to) { return std::remainder(to - from, 2 * std::numbers::pi); }

// What one frame fired.
struct Volley {
    int small = 0;
    int large = 0;
};

class StageFixture : public ::testing::Test {
  protected:
    void SetUp() override { StartGameInRound(1); }

    static void StartGameInRound(int round) {
        SetUpHeadlessGame();
        g_round = round;
        g_aimJitter = 0.0f;
        g_ships[0].active = 1;
        g_ships[0].state = SHIP_STATE_NORMAL;
        g_ships[0].x = 64;
        g_ships[0].y = 180;
        g_ships[1].active = 0;
    }

    // One frame of `update` from empty pools: what it fired.
    static Volley Fired(void (*update)()) {
        ClearEnemyBullets();
        update();
        return {SmallBullets(), LargeBullets()};
    }

    // Runs `update` until `done()` holds; fails instead of hanging after `limit` frames.
    template <typename Done>
    static void RunUntil(void (*update)(), Done done, int limit = 20000) {
        for (int n = 0; !done(); ++n) {
            if (n == limit) {
                ADD_FAILURE() << "the awaited state did not come within " << limit << " frames";
                return;
            }
            update();
        }
    }
};
