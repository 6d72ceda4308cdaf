// The two enemy bullet pools. Every bullet is a point mass with a float position and a constant
// velocity: it is spawned into the first free slot of its pool, and once a frame it is culled
// when it has left the field, tested against the ship's one-pixel hit point, drawn and moved.
// Small bullets are 6 x 6 with a 4 x 4 hit box inside; large ones are 8 x 8 and hit with all of
// it. The live count is kept by every spawn and free, so nothing ever has to count the pools.
#include "enemyfire/enemyfire.h"
#include "player/player.h"
#include "video/display.h"

EnemyBullet g_smallBullets[SMALL_BULLET_COUNT] = {};
EnemyBullet g_largeBullets[LARGE_BULLET_COUNT] = {};
int32_t g_enemyBulletCount = 0;
int32_t g_largeBulletAltSprite = 0;

namespace {

// What tells the two pools apart: their size, hit box and picture.
struct BulletPoolShape {
    EnemyBullet* bullets;
    int count;
    int size;                      // drawn size; the cull margin on the left and top is the same
    int hitInset;                  // the hit box is the sprite shrunk by this much on every side
    const atlas::Region& picture;  // `size` square
};

void FreeBullet(EnemyBullet& b) {
    b.alive = 0;
    --g_enemyBulletCount;
}

// The ship's hit pixel is the unit square at (pixelX, pixelY); every side of the test is strict,
// so a bullet that merely touches the pixel misses.
bool BulletHitsPixel(const EnemyBullet& b, const BulletPoolShape& shape, int pixelX, int pixelY) {
    const float left = b.x + static_cast<float>(shape.hitInset);
    const float top = b.y + static_cast<float>(shape.hitInset);
    const float right = b.x + static_cast<float>(shape.size - shape.hitInset);
    const float bottom = b.y + static_cast<float>(shape.size - shape.hitInset);
    return left < static_cast<float>(pixelX + 1) && right > static_cast<float>(pixelX) && top < static_cast<float>(pixelY + 1) &&
           bottom > static_cast<float>(pixelY);
}

// The ship can be hit only while it is in play and in its normal state.
bool ShipCanBeHit(const PlayerShip& ship) { return ship.active != 0 && ship.state == SHIP_STATE_NORMAL; }

int UpdateBulletPool(const BulletPoolShape& shape) {
    const float margin = static_cast<float>(-shape.size);
    for (int i = 0; i < shape.count; ++i) {
        EnemyBullet& b = shape.bullets[i];
        if (b.alive != 1) continue;
        if (b.y < margin || b.x < margin || b.y > static_cast<float>(FIELD_HEIGHT) || b.x > static_cast<float>(FIELD_WIDTH)) {
            FreeBullet(b);
            continue;
        }
        // Both ships are tested even after a hit; only one ship is ever in play, so the second
        // test never finds a target once the first has hit.
        const PlayerShip& shipA = g_ships[0];
        if (ShipCanBeHit(shipA) && BulletHitsPixel(b, shape, shipA.x + 11, shipA.y + 15)) {
            FreeBullet(b);
            HitPlayer();
        }
        const PlayerShip& shipB = g_ships[1];
        if (ShipCanBeHit(shipB) && BulletHitsPixel(b, shape, shipB.x + 11, shipB.y + 8)) {
            FreeBullet(b);
            HitPlayer();
        }
        // The bullet that has just hit is still drawn where it hit, and still moves.
        // Each edge is the bullet's position cut to whole pixels on its own.
        if (!DrawRegionTo(shape.picture, static_cast<int>(b.x), static_cast<int>(b.y), static_cast<int>(b.x + shape.size),
                          static_cast<int>(b.y + shape.size))) {
            return 0;
        }
        b.x += b.vx;
        b.y += b.vy;
    }
    return 1;
}

void FreeAllIn(EnemyBullet* bullets, int count) {
    for (int i = 0; i < count; ++i) {
        if (bullets[i].alive != 0) FreeBullet(bullets[i]);
    }
}

}  // namespace

void ResetEnemyFire() {
    g_enemyBulletCount = 0;
    g_largeBulletAltSprite = 0;
}

void InitBulletPools() {
    for (EnemyBullet& b : g_smallBullets) b = EnemyBullet{0.0f, 240.0f, 0, 0.0f, 240.0f};
    for (EnemyBullet& b : g_largeBullets) b = EnemyBullet{0.0f, 240.0f, 0, 0.0f, 240.0f};
}

void SpawnEnemyBullet(int x, int y, float vx, float vy, int kind) {
    EnemyBullet* bullets = nullptr;
    int count = 0;
    if (kind == BULLET_SMALL) {
        bullets = g_smallBullets;
        count = SMALL_BULLET_COUNT;
    } else if (kind == BULLET_LARGE) {
        bullets = g_largeBullets;
        count = LARGE_BULLET_COUNT;
    } else {
        return;
    }
    for (int i = 0; i < count; ++i) {
        EnemyBullet& b = bullets[i];
        if (b.alive != 0) continue;
        b.alive = 1;
        ++g_enemyBulletCount;
        // Stored one pixel up and left of the point asked for.
        b.x = static_cast<float>(x - 1);
        b.y = static_cast<float>(y - 1);
        b.vx = vx;
        b.vy = vy;
        return;
    }
    // A full pool drops the bullet; nobody is told.
}

int UpdateSmallBullets() {
    return UpdateBulletPool(BulletPoolShape{g_smallBullets, SMALL_BULLET_COUNT, 6, 1, atlas::Get("smallBullet")});
}

int UpdateLargeBullets() {
    // From the final boss on, every large bullet, even one already flying, wears the second picture.
    const atlas::Region& picture = g_largeBulletAltSprite == 1 ? atlas::Get("largeBulletAlt") : atlas::Get("largeBullet");
    return UpdateBulletPool(BulletPoolShape{g_largeBullets, LARGE_BULLET_COUNT, 8, 0, picture});
}

void ClearEnemyBullets() {
    // The live count is kept by every spawn and free: with none alive there is nothing to look
    // for (the ship's update clears the pools every frame while it is down).
    if (g_enemyBulletCount == 0) return;
    FreeAllIn(g_smallBullets, SMALL_BULLET_COUNT);
    FreeAllIn(g_largeBullets, LARGE_BULLET_COUNT);
}
