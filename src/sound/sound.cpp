// Sound effects and music on the platform's sound buffers and music commands.
// (First cut: effects are handed to the platform without inspecting their chunks.)
#include "sound/sound.h"

#include "platform/platform.h"
#include "player/player.h"
#include "resources/resources.h"

int InitSound() {
    if (!PlatSoundInit()) return 0;
    bool ok112 = false;
    for (int id = FIRST_SOUND_EFFECT; id < FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT; ++id) {
        const ResourceBlob* blob = FindProgramResource("WAVE", id);
        if (!blob || blob->size < 58) continue;
        const bool ok = PlatSoundCreateBuffer(id, blob->data + 58, blob->size - 58, 11025, 8, 1);
        if (id == 112) ok112 = ok;
    }
    return ok112 ? 1 : 0;
}

void PlaySoundEffect(int effectId) { PlatSoundPlay(effectId); }

void PlayEnemyFireSound() {
    for (const PlayerShip& ship : g_ships) {
        if (ship.active != 0 && ship.state == SHIP_STATE_NORMAL) PlaySoundEffect(110);
    }
}

int ReleaseSound() {
    for (int id = FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT - 1; id >= FIRST_SOUND_EFFECT; --id) PlatSoundStop(id);
    for (int id = FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT - 1; id >= FIRST_SOUND_EFFECT; --id) PlatSoundReleaseBuffer(id);
    PlatSoundShutdown();
    return 1;
}
