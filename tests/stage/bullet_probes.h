// Shared by the enemy and boss tests: what they read off the bullet pools after a frame.
#pragma once

#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"

// How many bullets of a pool are alive.
inline int LiveBullets(const EnemyBullet* pool, int count) {
    int n = 0;
    for (int i = 0; i < count; ++i) n += pool[i].alive == 1 ? 1 : 0;
    return n;
}
// A bullet's direction of travel in radians, and its speed in pixels a frame.
inline double Heading(const EnemyBullet& b) { return std::atan2(b.vy, b.vx); }
inline double Speed(const EnemyBullet& b) { return std::hypot(b.vx, b.vy); }
// The signed turn from one heading to another, in (-pi, pi].
inline double Turn(double from, double to) { return std::remainder(to - from, 2 * std::numbers::pi); }

// What one frame of a boss fired, counted from empty pools.
struct Volley {
    int small = 0;
    int large = 0;
};
