// Sound effects: twelve short RIFF WAVE resources built into the executable (ids 101..112), each
// copied once at start-up into its own platform sound buffer. Starting an effect stops its buffer,
// rewinds it and plays it once, so an effect started again cuts itself off while different
// effects overlap. Nothing is allocated or copied while the game runs.
#include "sound/sound.h"

#include "platform/platform.h"
#include "player/player.h"
#include "resources/resources.h"

// Nonzero while effect 101 + i has its buffer; lives from InitSound to ReleaseSound.
int g_soundBuffers[SOUND_EFFECT_COUNT] = {};

namespace {

// The shortest "fmt " body that holds what a buffer needs: tag, channels, rate, bytes per
// second and block alignment.
constexpr uint32_t MIN_FORMAT_BYTES = 14;
constexpr uint16_t WAVE_FORMAT_PCM = 1;

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool IsId(const uint8_t* p, const char* id) { return p[0] == id[0] && p[1] == id[1] && p[2] == id[2] && p[3] == id[3]; }

int EffectIndex(int effectId) {
    const int index = effectId - FIRST_SOUND_EFFECT;
    return (index >= 0 && index < SOUND_EFFECT_COUNT) ? index : -1;
}

void ReleaseEffectBuffers() {
    for (int id = FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT - 1; id >= FIRST_SOUND_EFFECT; --id) {
        if (g_soundBuffers[id - FIRST_SOUND_EFFECT] != 0) {
            PlatSoundReleaseBuffer(id);
            g_soundBuffers[id - FIRST_SOUND_EFFECT] = 0;
        }
    }
}

}  // namespace

int FindWaveChunksInBlock(const uint8_t* block, uint32_t blockSize, const uint8_t** format, const uint8_t** data,
                          uint32_t* size) {
    *format = nullptr;
    *data = nullptr;
    *size = 0;
    if (!block || blockSize < 12 || !IsId(block, "RIFF") || !IsId(block + 8, "WAVE")) return 0;
    // The RIFF size gives the end of the file; a size claiming more than the block holds is cut
    // to the block, so the walk never reads past the resource.
    uint64_t end = 8 + static_cast<uint64_t>(Read32(block + 4));
    if (end > blockSize) end = blockSize;

    uint64_t offset = 12;
    while (offset + 8 <= end) {
        const uint8_t* chunk = block + offset;
        const uint32_t length = Read32(chunk + 4);
        const uint8_t* body = chunk + 8;
        if (offset + 8 + length > end) break;  // a chunk running past the end of the file
        if (IsId(chunk, "fmt ")) {
            if (*format == nullptr) {  // a second "fmt " is ignored
                if (length < MIN_FORMAT_BYTES) break;
                *format = body;
            }
        } else if (IsId(chunk, "data")) {
            // A zero-length "data" leaves the size unset, so a later one still counts.
            if (*data == nullptr || *size == 0) {
                *data = body;
                *size = length;
            }
        }
        if (*format != nullptr && *data != nullptr && *size != 0) return 1;
        offset += 8 + static_cast<uint64_t>(length) + (length & 1);  // bodies are padded to even length
    }
    // Not found, or malformed: nothing of it is handed out.
    *format = nullptr;
    *data = nullptr;
    *size = 0;
    return 0;
}

int FindWaveChunks(int resourceId, const uint8_t** format, const uint8_t** data, uint32_t* size) {
    *format = nullptr;
    *data = nullptr;
    *size = 0;
    const ResourceBlob* blob = FindProgramResource("WAVE", resourceId);
    if (!blob) return 0;
    return FindWaveChunksInBlock(blob->data, blob->size, format, data, size);
}

int ReadWaveEffect(int resourceId, WaveEffect* effect) {
    *effect = WaveEffect{};
    const uint8_t* format = nullptr;
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!FindWaveChunks(resourceId, &format, &data, &size)) return 0;
    const uint16_t tag = Read16(format);
    const int channels = Read16(format + 2);
    const int blockAlign = Read16(format + 12);
    // A 14-byte format has no bits-per-sample field; the block alignment tells it instead.
    const uint32_t formatBytes = Read32(format - 4);
    if (tag != WAVE_FORMAT_PCM) return 0;
    effect->data = data;
    effect->bytes = size;
    effect->samplesPerSecond = static_cast<int>(Read32(format + 4));
    effect->bitsPerSample = formatBytes >= 16 ? Read16(format + 14) : (channels > 0 ? blockAlign * 8 / channels : 0);
    effect->channels = channels;
    return 1;
}

int LoadWaveResource(int resourceId) {
    WaveEffect e;
    if (!ReadWaveEffect(resourceId, &e)) return 0;
    return PlatSoundCreateBuffer(resourceId, e.data, e.bytes, e.samplesPerSecond, e.bitsPerSample, e.channels) ? 1 : 0;
}

int InitSound() {
    if (!PlatSoundInit()) return 0;
    for (int id = FIRST_SOUND_EFFECT; id < FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT; ++id) {
        g_soundBuffers[id - FIRST_SOUND_EFFECT] = LoadWaveResource(id);
    }
    // Only the last effect decides; any of the others may be missing and stays silent.
    if (g_soundBuffers[REQUIRED_SOUND_EFFECT - FIRST_SOUND_EFFECT] != 0) return 1;
    ReleaseEffectBuffers();
    PlatSoundShutdown();
    return 0;
}

void PlaySoundEffect(SoundEffect effect) {
    const int effectId = static_cast<int>(effect);
    const int index = EffectIndex(effectId);
    if (index < 0 || g_soundBuffers[index] == 0) return;
    PlatSoundPlay(effectId);
}

void PlayEnemyFireSound() {
    for (const PlayerShip& ship : g_ships) {
        if (ship.active != 0 && ship.state == SHIP_STATE_NORMAL) PlaySoundEffect(SoundEffect::EnemyFire);
    }
}

int ReleaseSound() {
    for (int id = FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT - 1; id >= FIRST_SOUND_EFFECT; --id) {
        if (g_soundBuffers[id - FIRST_SOUND_EFFECT] != 0) PlatSoundStop(id);
    }
    ReleaseEffectBuffers();
    PlatSoundShutdown();
    return 1;
}
