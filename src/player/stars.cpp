// The two services that open every game frame: the aim jitter, a small angle cycled through a
// ten-step table that every aimed enemy shot adds to its aim (so aimed fire sweeps around the
// ship instead of converging on one line), and the star field, the game's only background.
// The stars are the one place that uses a random generator: the original runtime's rand(),
// which the game carries as its own so that the field is the same on every system. It is never
// seeded, so the field looks the same in every run, and no random number reaches the game logic.
#include "player/player.h"
#include "player/ship.h"
#include "video/display.h"

Star g_stars[STAR_COUNT] = {};
int g_aimJitterTick = 0;
uint32_t g_randomSeed = 1;

namespace {

inline constexpr int STAR_SPAWN_RANGE = 197;
inline constexpr int STAR_BIG_COUNT = 30;  // stars 0-29 are 3 x 5 streaks, the rest 2 x 2 dots

// The jitter of each step; step 9 writes nothing, so step 8's value holds for two frames.
constexpr double AIM_JITTER_NARROW[9] = {-0.1, -0.05, -0.05, 0.0, 0.0, 0.0, 0.05, 0.05, 0.1};
constexpr double AIM_JITTER_WIDE[9] = {-0.2, -0.1, -0.1, 0.0, 0.0, 0.0, 0.1, 0.1, 0.2};

// Four layers of fifteen stars falling at their own speeds.
int StarSpeed(int i) {
    if (i < 15) return 2;
    if (i < 30) return 3;
    if (i < 45) return 1;
    return 2;
}

}  // namespace

// The linear congruential generator of the runtime the game was first built with (32 bits,
// wrapping), giving 15-bit values. Nothing seeds it, not even ResetGame: a second game after
// ESC continues the sequence where the first one left it.
int NextRandom() {
    g_randomSeed = g_randomSeed * 214013u + 2531011u;
    return static_cast<int>((g_randomSeed >> 16) & 0x7FFF);
}

void InitStars() {
    for (int i = 0; i < STAR_COUNT; ++i) {
        Star& s = g_stars[i];
        s.x = NextRandom() % STAR_SPAWN_RANGE;  // x first, then y: the order of the draws matters
        s.y = NextRandom() % FIELD_HEIGHT;
        s.width = i < STAR_BIG_COUNT ? 3 : 2;
        s.height = i < STAR_BIG_COUNT ? 5 : 2;
    }
}

void UpdateAimJitter() {
    const int t = g_aimJitterTick;
    if (t < 9) g_aimJitter = static_cast<float>(g_aimJitterWide ? AIM_JITTER_WIDE[t] : AIM_JITTER_NARROW[t]);
    g_aimJitterTick = t == 9 ? 0 : t + 1;
}

bool UpdateStars() {
    for (int i = 0; i < STAR_COUNT; ++i) {
        Star& s = g_stars[i];
        s.y += StarSpeed(i);
        if (s.y > FIELD_HEIGHT) {
            s.x = NextRandom() % STAR_SPAWN_RANGE;
            s.y = -5;  // just above the field, drawn there this same frame
        }
        if (!DrawRegionPart(atlas::Get("star"), s.x, s.y, s.width, s.height)) return false;
    }
    return true;
}
