// The game's sound for offline rendering: the platform's mixer, the one the live audio device
// plays through, loaded with the built-in effects as the device loads them at start-up.
#include "platform/audio_mix.h"
#include "sound/sound.h"

AudioMixer* MakeGameMixer(int rate, const char* musicFolder, bool music) {
    AudioMixer* mixer = MixerCreate(rate);
    MixerSetMusicFolder(mixer, musicFolder);
    const char* soundFont = music ? MixerFindSoundFont() : nullptr;
    if (soundFont) MixerAttachSynth(mixer, MixerSynthCreate(soundFont, rate));
    for (int id = FIRST_SOUND_EFFECT; id < FIRST_SOUND_EFFECT + SOUND_EFFECT_COUNT; ++id) {
        WaveEffect e;
        if (ReadWaveEffect(id, &e)) MixerSetEffect(mixer, id, e.data, e.bytes, e.samplesPerSecond, e.bitsPerSample, e.channels);
    }
    return mixer;
}
