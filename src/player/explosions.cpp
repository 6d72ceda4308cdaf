// Explosions and debris: two rings of forty short animations (40 x 40 and 20 x 20 cells), each
// drifting at a constant velocity while its strip plays once. A spawn always takes the next slot
// of its ring, overwriting the oldest animation when all are busy, so it never fails. A burst
// throws eight of each apart from one point; the boss blast is a 53-frame script of explosions,
// debris, bursts and white flashes at a boss's kill point.
#include "player/combat.h"
#include "player/player.h"
#include "sound/sound.h"
#include "video/display.h"

// Both rings live for the whole run; InitObjectPools frees every record.
Explosion g_explosions[EXPLOSION_COUNT] = {};
Explosion g_debris[DEBRIS_COUNT] = {};
int g_explosionNext = 0;
int g_debrisNext = 0;
// The boss blast's script position; reset by ResetGame.
int g_bossBlastActive = 0;
int g_bossBlastTick = 0;

namespace {

inline constexpr int EXPLOSION_SIZE = 40;
inline constexpr int DEBRIS_SIZE = 20;
inline constexpr int BLAST_FLASH_COLOUR = 255;

void TakeRingSlot(Explosion* ring, int* next, int count, int x, int y, int vx, int vy) {
    Explosion& e = ring[*next];
    e.alive = 1;
    e.x = x;
    e.y = y;
    e.vx = vx;
    e.vy = vy;
    e.frameX = 0;
    e.tick = 0;
    if (++*next == count) *next = 0;
}

// One ring's frame: draw, step the strip every `ticksPerCell` frames (the first cell shows one
// frame longer, as the tick starts at 0), drift, and die after the last cell. frameX counts the
// strip in pixels.
bool UpdateRing(Explosion* ring, int count, const atlas::Region& strip, int ticksPerCell) {
    const int endFrameX = strip.frames * strip.dx;
    for (int i = 0; i < count; ++i) {
        Explosion& e = ring[i];
        if (e.alive == 0) continue;
        if (!DrawRegionPart(strip, e.x, e.y, e.width, e.height, e.frameX)) return false;
        if (e.tick == ticksPerCell) {
            e.tick = 0;
            e.frameX += e.width;
        }
        ++e.tick;
        e.x += e.vx;
        e.y += e.vy;
        if (e.frameX == endFrameX) {
            e.frameX = 0;
            e.alive = 0;
        }
    }
    return true;
}

// The six explosions of the blast's first part, repeated three times 12 frames apart.
struct BlastShot {
    int dx, dy, vx, vy;
};
inline constexpr BlastShot BLAST_SHOTS[6] = {
    {-5, 5, -2, 4}, {5, -8, 2, 4}, {0, -7, -2, 4}, {9, 2, 2, 1}, {-11, 9, 2, 0}, {2, 0, 0, 4},
};
// A burst's velocities, in the order they are thrown.
struct Velocity {
    int vx, vy;
};
inline constexpr Velocity BURST_EXPLOSIONS[8] = {{0, -10}, {8, -5}, {9, 0}, {7, 6}, {0, 5}, {-6, 10}, {-9, 0}, {-5, -8}};
inline constexpr Velocity BURST_DEBRIS[8] = {{0, -3}, {3, -4}, {3, 0}, {1, 3}, {0, 2}, {-2, 4}, {-5, 0}, {-2, -3}};
inline constexpr int BLAST_SHOTS_END = 36;  // ticks 0..34, every second frame
inline constexpr int BLAST_BURST_A = 36;
inline constexpr int BLAST_BURST_B = 44;

}  // namespace

void InitExplosionPools() {
    for (Explosion& e : g_explosions) e = Explosion{0, 0, 0, 0, 0, EXPLOSION_SIZE, EXPLOSION_SIZE, 0, 0};
    g_explosionNext = 0;
    for (Explosion& e : g_debris) e = Explosion{0, 0, 0, 0, 0, DEBRIS_SIZE, DEBRIS_SIZE, 0, 0};
    g_debrisNext = 0;
}

void SpawnExplosion(int x, int y, int vx, int vy, BlastSound sound) {
    switch (sound) {
        case BLAST_SOUND_SMALL: PlaySoundEffect(SoundEffect::SmallExplosion); break;
        case BLAST_SOUND_LARGE: PlaySoundEffect(SoundEffect::Explosion); break;
        case BLAST_SOUND_BOTH:
            PlaySoundEffect(SoundEffect::HeavyExplosion);
            PlaySoundEffect(SoundEffect::Explosion);
            break;
        case BLAST_SOUND_NONE: break;
    }
    TakeRingSlot(g_explosions, &g_explosionNext, EXPLOSION_COUNT, x, y, vx, vy);
}

void SpawnDebris(int x, int y, int vx, int vy) { TakeRingSlot(g_debris, &g_debrisNext, DEBRIS_COUNT, x, y, vx, vy); }

// Eight explosions, then eight pieces of debris, thrown apart from one point; only the first
// explosion is heard.
void SpawnBurst(int x, int y) {
    for (int k = 0; k < 8; ++k) {
        SpawnExplosion(x, y, BURST_EXPLOSIONS[k].vx, BURST_EXPLOSIONS[k].vy, k == 0 ? BLAST_SOUND_BOTH : BLAST_SOUND_NONE);
    }
    for (const Velocity& v : BURST_DEBRIS) SpawnDebris(x, y, v.vx, v.vy);
}

// 17 frames: cell 0 for three, the seven others for two each.
bool UpdateExplosions() { return UpdateRing(g_explosions, EXPLOSION_COUNT, atlas::Get("explosion"), 2); }

// 33 frames: cell 0 for five, the seven others for four each.
bool UpdateDebris() { return UpdateRing(g_debris, DEBRIS_COUNT, atlas::Get("debris"), 4); }

void UpdateBossBlast(int x, int y) {
    if (g_bossBlastActive == 0) return;
    const int t = g_bossBlastTick;
    if (t < BLAST_SHOTS_END && t % 2 == 0) {
        const BlastShot& s = BLAST_SHOTS[(t % 12) / 2];
        SpawnExplosion(x + s.dx, y + s.dy, s.vx, s.vy, BLAST_SOUND_LARGE);
        SpawnDebris(x + s.dx, y + s.dy, 0, -3);
        g_fieldClearColour = BLAST_FLASH_COLOUR;
    } else if (t == BLAST_BURST_A || t == BLAST_BURST_B) {
        SpawnBurst(x, y);
        g_fieldClearColour = BLAST_FLASH_COLOUR;
    } else if (t == BOSS_BLAST_LAST_TICK) {
        SpawnBurst(x, y);
        g_fieldClearColour = BLAST_FLASH_COLOUR;
        g_bossBlastActive = 0;
        g_bossBlastTick = 0;
    }
    // The last frame's increment leaves the tick at 1; the next blast starts it from 0 again.
    ++g_bossBlastTick;
}
