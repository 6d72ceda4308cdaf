// The combat side's section of the state dump: chain and picture counters, items, the two
// explosion rings, the boss blast, the continue and game-over panels, the ending and captions.
#include "app/state_dump.h"
#include "player/combat.h"
#include "player/player.h"

namespace {

void DumpRing(JsonWriter& w, const char* name, const Explosion* ring, int count) {
    JsonBeginArray(w, name);
    for (int i = 0; i < count; ++i) {
        const Explosion& e = ring[i];
        JsonBeginObject(w, nullptr);
        JsonInt(w, "x", e.x);
        JsonInt(w, "y", e.y);
        JsonInt(w, "vx", e.vx);
        JsonInt(w, "vy", e.vy);
        JsonInt(w, "alive", e.alive);
        JsonInt(w, "width", e.width);
        JsonInt(w, "height", e.height);
        JsonInt(w, "frameX", e.frameX);
        JsonInt(w, "tick", e.tick);
        JsonEndObject(w);
    }
    JsonEndArray(w);
}

void DumpItem(JsonWriter& w, const char* name, const ItemPosition& item) {
    JsonBeginObject(w, name);
    JsonInt(w, "x", item.x);
    JsonInt(w, "y", item.y);
    JsonEndObject(w);
}

void DumpInts(JsonWriter& w, const char* name, const int* values, int count) {
    JsonBeginArray(w, name);
    for (int i = 0; i < count; ++i) JsonInt(w, nullptr, values[i]);
    JsonEndArray(w);
}

}  // namespace

void DumpCombatState(JsonWriter& w) {
    JsonInt(w, "g_chainWindow", g_chainWindow);
    JsonInt(w, "g_chainDecayTick", g_chainDecayTick);
    JsonInt(w, "g_bossPartAnimA", g_bossPartAnimA);
    JsonInt(w, "g_bossPartAnimB", g_bossPartAnimB);
    JsonInt(w, "g_midBossAnimX", g_midBossAnimX);
    JsonInt(w, "g_bossPartAnimC", g_bossPartAnimC);
    DumpItem(w, "g_bombItem", g_bombItem);
    DumpItem(w, "g_shieldItem", g_shieldItem);
    DumpItem(w, "g_lifeItem", g_lifeItem);
    JsonInt(w, "g_extendCount", g_extendCount);
    DumpRing(w, "g_explosions", g_explosions, EXPLOSION_COUNT);
    JsonInt(w, "g_explosionNext", g_explosionNext);
    DumpRing(w, "g_debris", g_debris, DEBRIS_COUNT);
    JsonInt(w, "g_debrisNext", g_debrisNext);
    JsonInt(w, "g_bossBlastActive", g_bossBlastActive);
    JsonInt(w, "g_bossBlastTick", g_bossBlastTick);
    JsonInt(w, "g_continuePanelsIn", g_continuePanelsIn);
    JsonInt(w, "g_continueCount", g_continueCount);
    JsonInt(w, "g_continueTick", g_continueTick);
    DumpInts(w, "g_continuePanelX", g_continuePanelX, 2);
    DumpInts(w, "g_continuePanelY", g_continuePanelY, 2);
    JsonBeginArray(w, "g_gameOverPanels");
    for (const GameOverPanel& p : g_gameOverPanels) {
        JsonBeginObject(w, nullptr);
        JsonInt(w, "x", p.x);
        JsonInt(w, "y", p.y);
        JsonInt(w, "width", p.width);
        JsonInt(w, "height", p.height);
        JsonInt(w, "state", p.state);
        JsonEndObject(w);
    }
    JsonEndArray(w);
    JsonInt(w, "g_gameOverHold", g_gameOverHold);
    JsonInt(w, "g_endingActive", g_endingActive);
    JsonInt(w, "g_endingTick", g_endingTick);
    DumpInts(w, "g_endingSlotActive", g_endingSlotActive, ENDING_PICTURES);
    DumpInts(w, "g_endingX", g_endingX, ENDING_PICTURES);
    DumpInts(w, "g_endingY", g_endingY, ENDING_PICTURES);
    JsonInt(w, "g_endingHold", g_endingHold);
    JsonInt(w, "g_storyActive", g_storyActive);
    JsonInt(w, "g_storyLines", g_storyLines);
    JsonInt(w, "g_messageVisible", g_messageVisible);
    JsonInt(w, "g_messageRowY", g_messageRowY);
    JsonBeginObject(w, "g_messagePicture");
    JsonInt(w, "x", g_messagePicture.x);
    JsonInt(w, "y", g_messagePicture.y);
    JsonInt(w, "width", g_messagePicture.width);
    JsonInt(w, "height", g_messagePicture.height);
    JsonEndObject(w);
}
