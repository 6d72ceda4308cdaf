// Enemy fire's section of the state dump.
#include "app/state_dump.h"
#include "enemyfire/enemyfire.h"

namespace {

void DumpBullets(JsonWriter& w, const char* name, const EnemyBullet* bullets, int count) {
    JsonBeginArray(w, name);
    for (int i = 0; i < count; ++i) {
        JsonBeginObject(w, nullptr);
        JsonFloat(w, "x", bullets[i].x);
        JsonFloat(w, "y", bullets[i].y);
        JsonInt(w, "alive", bullets[i].alive);
        JsonFloat(w, "vx", bullets[i].vx);
        JsonFloat(w, "vy", bullets[i].vy);
        JsonEndObject(w);
    }
    JsonEndArray(w);
}

}  // namespace

void DumpEnemyFireState(JsonWriter& w) {
    JsonInt(w, "g_enemyBulletCount", g_enemyBulletCount);
    JsonInt(w, "g_largeBulletAltSprite", g_largeBulletAltSprite);
    JsonInt(w, "g_crossCounterA", g_crossCounterA);
    JsonInt(w, "g_crossCounterB", g_crossCounterB);
    JsonInt(w, "g_ringCounter", g_ringCounter);
    DumpBullets(w, "g_smallBullets", g_smallBullets, SMALL_BULLET_COUNT);
    DumpBullets(w, "g_largeBullets", g_largeBullets, LARGE_BULLET_COUNT);
}
