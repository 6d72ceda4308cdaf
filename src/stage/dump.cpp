// The stage's section of the state dump.
#include <cstring>

#include "app/state_dump.h"
#include "stage/stage.h"

namespace {

// Writes a record of plain 32-bit fields as an array, in declared order.
template <typename Record>
void DumpFields(JsonWriter& w, const char* name, const Record& record) {
    constexpr int count = sizeof(Record) / 4;
    int32_t fields[count];
    std::memcpy(fields, &record, sizeof fields);
    JsonBeginArray(w, name);
    for (int32_t f : fields) JsonInt(w, nullptr, f);
    JsonEndArray(w);
}

}  // namespace

void DumpStageState(JsonWriter& w) {
    JsonInt(w, "g_stageFrame", g_stageFrame);
    JsonInt(w, "g_round", g_round);
    JsonInt(w, "g_bossTimer", g_bossTimer);
    JsonInt(w, "g_bossTimerTick", g_bossTimerTick);
    JsonInt(w, "g_bossTimerVisible", g_bossTimerVisible);
    JsonInt(w, "g_bulletSlowdownHigh", g_bulletSlowdownHigh);
    JsonInt(w, "g_dropItemA", g_dropItemA);
    JsonInt(w, "g_dropItemB", g_dropItemB);
    JsonInt(w, "g_dropItemC", g_dropItemC);
    JsonInt(w, "g_enemyAnimX", g_enemyAnimX);
    JsonInt(w, "g_largeEnemyAnimX", g_largeEnemyAnimX);
    // Records as arrays of their fields in declared order (float fields as their bits).
    JsonBeginArray(w, "g_enemies");
    for (const Enemy& e : g_enemies) DumpFields(w, nullptr, e);
    JsonEndArray(w);
    JsonBeginArray(w, "g_largeEnemies");
    for (const LargeEnemy& e : g_largeEnemies) DumpFields(w, nullptr, e);
    JsonEndArray(w);
    DumpFields(w, "g_midBoss", g_midBoss);
    DumpFields(w, "g_midBossEscort", g_midBossEscort);
    DumpFields(w, "g_midBossTwo", g_midBossTwo);
    DumpFields(w, "g_bossOne", g_bossOne);
    DumpFields(w, "g_bossTwo", g_bossTwo);
    DumpFields(w, "g_bossThree", g_bossThree);
    DumpFields(w, "g_bossFour", g_bossFour);
    DumpFields(w, "g_bossFinal", g_bossFinal);
}
