// Enemy fire, bit for bit: where a firing operation's arithmetic could be done in float or in
// double, the bullets it leaves in the pools show which one the game does. These values feed the
// replay, so an error of one bit in a velocity is a desync a few hundred frames later.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "test_support.h"

namespace {

class EnemyFireBehaviour : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpHeadlessGame();
        g_ships[0].active = 1;
        g_ships[1].active = 0;
    }
};

// The direction is worked out in double from the truncated distances (sqrt, asin, pi and the
// turn by the offset all in double); the velocity is rounded to float only as the bullet stores
// it. Done in float, most of these shots would differ in the last bit of vx or vy.
TEST_F(EnemyFireBehaviour, FireAtPointWorksInDoubleAndRoundsOnlyTheStoredVelocity) {
    struct Shot {
        float x, y;
        int targetX, targetY;
        float speed, offset;
    };
    const Shot shots[] = {
        {100.5f, 60.25f, 7, 195, 3.0f, 0.3f},  {100.0f, 60.0f, 183, 11, 2.5f, -0.6f},
        {49.0f, 30.0f, 75, 195, 3.0f, 0.0f},   {160.75f, 20.0f, 12, 130, 4.0f, 0.15f},
        {20.0f, 200.0f, 150, 40, 5.0f, -1.04f}, {88.0f, 44.0f, 88, 45, 6.0f, 0.74f},
        {61.0f, 44.0f, 140, 44, 2.0f, 0.4f},   {10.0f, 10.0f, 3, 231, 3.4f, 0.1f},
    };
    int slot = 0;
    for (const Shot& s : shots) {
        FireAtPoint(s.x, s.y, s.targetX, s.targetY, s.speed, s.offset, BULLET_SMALL);
        const int dx = static_cast<int>(static_cast<float>(s.targetX) - s.x);
        const int dy = static_cast<int>(static_cast<float>(s.targetY) - s.y);
        const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
        const double phi = dx >= 0 ? std::asin(dy / d) : std::numbers::pi - std::asin(dy / d);
        const double theta = phi + static_cast<double>(s.offset);
        const EnemyBullet& b = g_smallBullets[slot++];
        ASSERT_EQ(b.alive, 1);
        EXPECT_EQ(b.vx, static_cast<float>(s.speed * std::cos(theta))) << "shot " << slot;
        EXPECT_EQ(b.vy, static_cast<float>(s.speed * std::sin(theta))) << "shot " << slot;
    }
}

}  // namespace
