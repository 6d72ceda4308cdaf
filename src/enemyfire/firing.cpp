// The firing operations: the whole vocabulary with which enemies and bosses fire. Each turns a
// firing point, a speed and a pattern into calls of SpawnEnemyBullet. Aimed shots go at the hit
// pixel of the ship in play; the fixed patterns are rings and crosses; the timed patterns keep a
// call counter of their own and fire only on certain calls. Several of these are deliberately
// inexact and are kept so: the aimed-straight shot and the 16-bullet ring are not normalised
// (diagonals fly faster), and float positions are truncated toward zero before spawning.
#include <cmath>
#include <numbers>

#include "enemyfire/enemyfire.h"
#include "player/player.h"

int32_t g_crossCounterA = 0;
int32_t g_crossCounterB = 0;
int32_t g_ringCounter = 0;

namespace {

// One row of the 16-bullet ring: the spawn offset from the firing point and the velocity as
// multiples of the (integer) speed. Row 1 points straight up; the rows go round clockwise.
struct RingDirection {
    int offsetX, offsetY;
    int speedX, speedY;
};

inline constexpr RingDirection RING_DIRECTIONS[16] = {
    {0, -10, 0, -3}, {4, -6, 1, -3},   {5, -5, 2, -2},   {6, -4, 3, -1},    // up to right
    {10, 0, 3, 0},   {6, 4, 3, 1},     {5, 5, 2, 2},     {4, 6, 1, 3},      // right to down
    {0, 10, 0, 3},   {-4, 6, -1, 3},   {-5, 5, -2, 2},   {-6, 4, -3, 1},    // down to left
    {-10, 0, -3, 0}, {-6, -4, -3, -1}, {-5, -5, -2, -2}, {-4, -6, -1, -3},  // left to up
};

// Unit steps from the firing point: the eight-way ring and the four-way cross, both from
// straight up, clockwise.
struct UnitStep {
    int x, y;
};
inline constexpr UnitStep RING8_STEPS[8] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
inline constexpr UnitStep CROSS4_STEPS[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

// The ring rows of the four volleys of a rotating cross, per direction: clockwise turns
// 1-5-9-13, 2-6-10-14, 3-7-11-15, 4-8-12-16; anticlockwise swaps the second and the fourth.
inline constexpr int CROSS_FIRST_ROWS[2][4] = {{1, 2, 3, 4}, {1, 4, 3, 2}};

void FireRotatingCross(int32_t& counter, int x, int y, int speed, int interval, int direction, int kind) {
    if (direction == 0 || direction == 1) {
        for (int volley = 0; volley < 4; ++volley) {
            if (counter != (volley + 1) * interval) continue;
            const int first = CROSS_FIRST_ROWS[direction][volley];
            for (int k = 0; k < 4; ++k) FireRingBullet(x, y, speed, first + 4 * k, kind);
            if (volley == 3) counter = 0;
        }
    }
    ++counter;
}

}  // namespace

void CaptureShipTarget(int32_t* x, int32_t* y) {
    if (g_ships[0].active != 0) {
        *x = g_ships[0].x + 11;
        *y = g_ships[0].y + 15;
    } else {
        *x = g_ships[1].x + 11;
        *y = g_ships[1].y + 8;
    }
}

int Sign(int v) { return v > 0 ? 1 : (v < 0 ? -1 : 0); }

void FireAimedStraight(float x, float y, int speed, int kind) {
    int32_t targetX = 0, targetY = 0;
    CaptureShipTarget(&targetX, &targetY);
    float fdx = static_cast<float>(targetX) - x;
    float fdy = static_cast<float>(targetY) - y;
    // A distance of exactly zero counts as one pixel, so a level shot still drifts downwards.
    if (fdx == 0.0f) fdx = 1.0f;
    if (fdy == 0.0f) fdy = 1.0f;
    const int idx = static_cast<int>(fdx);
    const int idy = static_cast<int>(fdy);
    float vx = 0.0f;
    float vy = 0.0f;
    if (std::abs(idy) < std::abs(idx)) {
        vx = static_cast<float>(Sign(idx) * speed);
        vy = static_cast<float>(speed) / static_cast<float>(std::abs(idx)) * fdy;
    } else if (idy != 0) {
        vx = static_cast<float>(speed) / static_cast<float>(std::abs(idy)) * fdx;
        vy = static_cast<float>(Sign(idy) * speed);
    } else {
        // Within a pixel of the target on both axes the proportion is undefined: fire straight down.
        vy = static_cast<float>(speed);
    }
    SpawnEnemyBullet(static_cast<int>(x), static_cast<int>(y), vx, vy, kind);
}

void FireAimed(float x, float y, float speed, float angleOffset, int kind) {
    int32_t targetX = 0, targetY = 0;
    CaptureShipTarget(&targetX, &targetY);
    FireAtPoint(x, y, targetX, targetY, speed, angleOffset, kind);
}

void FireAtPoint(float x, float y, int targetX, int targetY, float speed, float angleOffset, int kind) {
    int dx = static_cast<int>(static_cast<float>(targetX) - x);
    int dy = static_cast<int>(static_cast<float>(targetY) - y);
    if (dx == 0 && dy == 0) dy = 1;  // on the target: straight down
    // The direction comes from the arcsine of the vertical share, mirrored for targets to the
    // left; in double, as the velocity is only rounded to float when the bullet stores it.
    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    const double s = std::asin(dy / d);
    const double phi = dx >= 0 ? s : std::numbers::pi - s;
    const double theta = phi + angleOffset;
    SpawnEnemyBullet(static_cast<int>(x), static_cast<int>(y), static_cast<float>(speed * std::cos(theta)),
                     static_cast<float>(speed * std::sin(theta)), kind);
}

void FireBullet(int x, int y, float vx, float vy, int kind) { SpawnEnemyBullet(x, y, vx, vy, kind); }

void FireTwin(int x, int y, int vy, int halfGap, int kind) {
    FireBullet(x - halfGap, y, 0.0f, static_cast<float>(vy), kind);
    FireBullet(x + halfGap, y, 0.0f, static_cast<float>(vy), kind);
}

void FireRing16(int x, int y, int speed, int kind) {
    for (int row = 1; row <= 16; ++row) FireRingBullet(x, y, speed, row, kind);
}

void FireRingBullet(int x, int y, int speed, int row, int kind) {
    if (row < 1 || row > 16) return;
    const RingDirection& r = RING_DIRECTIONS[row - 1];
    FireBullet(x + r.offsetX, y + r.offsetY, static_cast<float>(r.speedX * speed), static_cast<float>(r.speedY * speed), kind);
}

void FireRing8(int x, int y, int speed, float angleOffset, int kind) {
    for (const UnitStep& u : RING8_STEPS) {
        FireAtPoint(static_cast<float>(x), static_cast<float>(y), x + u.x, y + u.y, static_cast<float>(speed), angleOffset, kind);
    }
}

void FireCross4(int x, int y, float speed, float angleOffset, int kind) {
    for (const UnitStep& u : CROSS4_STEPS) {
        FireAtPoint(static_cast<float>(x), static_cast<float>(y), x + u.x, y + u.y, speed, angleOffset, kind);
    }
}

void FireRotatingCrossA(int x, int y, int speed, int interval, int direction, int kind) {
    FireRotatingCross(g_crossCounterA, x, y, speed, interval, direction, kind);
}

void FireRotatingCrossB(int x, int y, int speed, int interval, int direction, int kind) {
    FireRotatingCross(g_crossCounterB, x, y, speed, interval, direction, kind);
}

void FireRingEvery(int x, int y, int speed, int interval, int kind) {
    if (g_ringCounter == interval) {
        FireRing16(x, y, speed, kind);
        g_ringCounter = 0;
    }
    ++g_ringCounter;
}
