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
    // Records as arrays of their fields in declared order.
    JsonBeginArray(w, "g_enemies");
    for (const Enemy& e : g_enemies) DumpFields(w, nullptr, e);
    JsonEndArray(w);
    JsonBeginArray(w, "g_largeEnemies");
    for (const LargeEnemy& e : g_largeEnemies) DumpFields(w, nullptr, e);
    JsonEndArray(w);
    const struct {
        const char* name;
        const BossRecord* record;
    } bosses[] = {{"g_midBoss", &g_midBoss},     {"g_midBossEscort", &g_midBossEscort},
                  {"g_midBossTwo", &g_midBossTwo}, {"g_bossOne", &g_bossOne},
                  {"g_bossTwo", &g_bossTwo},     {"g_bossThree", &g_bossThree},
                  {"g_bossFour", &g_bossFour},   {"g_bossFinal", &g_bossFinal}};
    for (const auto& b : bosses) DumpFields(w, b.name, *b.record);
}
