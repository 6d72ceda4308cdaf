// SDL back-end: sound effects and music on one SDL audio device.
//
// Everything the player hears is rendered by the mixer of audio_mix.cpp, called from the device's
// callback on SDL's audio thread: the twelve effects (effect 101 + i on channel i), the music of
// the MCI-style device on its FluidSynth synthesiser, and the limiter on the sum. The game's
// thread reaches the mixer only with the device locked, for the moment a call takes.
//   - The soundfont is loaded once, on a loader thread started when the device opens; until it
//     is there the pieces run silently, which only happens within a second of start-up.
//   - The pieces (found by the data file lookup) are read when the device opens; others when
//     first opened.
//   - The end of a piece played with "notify" is reported by the mixer shortly before it; the
//     callback posts it as an SDL user event (SDL_PushEvent is safe from the audio thread), and
//     the window's event pump hands it to the window procedure on the game's thread as
//     MM_MCINOTIFY.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/audio_mix.h"
#include "platform/mci.h"
#include "platform/sdl_backend.h"

namespace {

constexpr int OUTPUT_RATE = 44100;
constexpr int OUTPUT_CHUNK = 512;  // frames per callback: about 12 ms at 44.1 kHz
// The pieces the game ships, read when the device opens.
constexpr const char* PIECE_FILES[] = {"bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid", "bgm05.mid", "bgm06.mid"};

// Device state; lives from SdlSoundInit to SdlSoundShutdown.
SDL_AudioDeviceID g_device = 0;
AudioMixer* g_mixer = nullptr;
bool g_midiAvailable = false;  // a soundfont was found: the music is heard once it is loaded
SDL_Thread* g_synthLoader = nullptr;
SDL_atomic_t g_synthLoading{};
// The player's loudness, kept from SdlSetLoudness for a device opened later.
int g_musicVolume = 100;
int g_effectsVolume = 100;
bool g_mute = false;

// Holds the audio thread off the mixer for as long as the object lives.
struct AudioLock {
    AudioLock() { SDL_LockAudioDevice(g_device); }
    ~AudioLock() { SDL_UnlockAudioDevice(g_device); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

void PostNotification() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.code = SDL_MUSIC_NOTIFY_CODE;
    event.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(MCI_NOTIFY_SUCCESSFUL));
    SDL_PushEvent(&event);
}

// The device's callback, on the audio thread (which SDL has locked for it).
void RenderAudio(void*, Uint8* stream, int bytes) {
    MixerRender(g_mixer, reinterpret_cast<int16_t*>(stream), bytes / 4);  // 16-bit stereo
    if (MixerTakeEndOfPiece(g_mixer)) PostNotification();
}

// On the loader thread: the synthesiser with its soundfont (some tens of milliseconds), handed to
// the mixer once it is ready.
int LoadSynth(void* soundFontPath) {
    MixerSynth* synth = MixerSynthCreate(static_cast<const char*>(soundFontPath), OUTPUT_RATE);
    SDL_free(soundFontPath);
    if (synth) {
        AudioLock lock;
        MixerAttachSynth(g_mixer, synth);
    }
    SDL_AtomicSet(&g_synthLoading, 0);
    return 0;
}

void StartSynthLoad(const char* soundFont) {
    SDL_AtomicSet(&g_synthLoading, 1);
    char* path = SDL_strdup(soundFont);  // owned by the loader from here
    g_synthLoader = SDL_CreateThread(LoadSynth, "vorne-soundfont", path);
    if (!g_synthLoader) LoadSynth(path);  // no thread to be had: load here and now
}

}  // namespace

// ---- device -------------------------------------------------------------------------------------

bool SdlSoundInit() {
    if (g_device != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "vorne: no audio: %s\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = OUTPUT_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = OUTPUT_CHUNK;
    want.callback = RenderAudio;
    SDL_AudioSpec have{};
    // No changes allowed: whatever the device wants, SDL converts from this format.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (g_device == 0) {
        std::fprintf(stderr, "vorne: cannot open the audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    g_mixer = MixerCreate(OUTPUT_RATE);
    MixerSetVolume(g_mixer, g_musicVolume, g_effectsVolume, g_mute);
    for (const char* file : PIECE_FILES) {
        if (MixerPreloadPiece(g_mixer, file)) continue;
        std::string found;
        if (PlatFindDataFile(file, &found)) {
            // Read once more for the reason (the mixer keeps only what it could read).
            MidiPiece piece;
            std::string why = "is not a MIDI file the game can play";
            MidiReadFile(found, &piece, &why);
            std::fprintf(stderr, "vorne: %s %s; that music is silent\n", found.c_str(), why.c_str());
        } else {
            std::fprintf(stderr, "vorne: %s is missing (not found in %s); that music is silent\n", file,
                         PlatDataFolderList().c_str());
        }
    }
    const char* soundFont = MixerFindSoundFont();
    g_midiAvailable = soundFont != nullptr;
    if (soundFont) {
        StartSynthLoad(soundFont);
    } else {
        std::fprintf(stderr, "vorne: no General MIDI soundfont found (install timgm6mb-soundfont); the music is silent\n");
    }
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

void SdlSoundShutdown() {
    if (g_device == 0) return;
    if (g_synthLoader) SDL_WaitThread(g_synthLoader, nullptr);
    g_synthLoader = nullptr;
    SDL_CloseAudioDevice(g_device);  // the callback has run for the last time
    g_device = 0;
    MixerDestroy(g_mixer);
    g_mixer = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    g_midiAvailable = false;
}

void SdlSetLoudness(int musicPercent, int effectsPercent, bool mute) {
    g_musicVolume = musicPercent;
    g_effectsVolume = effectsPercent;
    g_mute = mute;
    if (g_device == 0) return;
    AudioLock lock;
    MixerSetVolume(g_mixer, musicPercent, effectsPercent, mute);
}

void SdlGetLoudness(int* musicPercent, int* effectsPercent, bool* mute) {
    *musicPercent = g_musicVolume;
    *effectsPercent = g_effectsVolume;
    *mute = g_mute;
}

// ---- effects ------------------------------------------------------------------------------------

bool SdlSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                          int channels) {
    if (g_device == 0) return false;
    AudioLock lock;
    return MixerSetEffect(g_mixer, effectId, data, bytes, samplesPerSecond, bitsPerSample, channels);
}

void SdlSoundPlay(int effectId) {
    if (g_device == 0) return;
    AudioLock lock;
    MixerStartEffect(g_mixer, effectId);
}

void SdlSoundStop(int effectId) {
    if (g_device == 0) return;
    AudioLock lock;
    MixerStopEffect(g_mixer, effectId);
}

void SdlSoundReleaseBuffer(int effectId) {
    if (g_device == 0) return;
    AudioLock lock;
    MixerClearEffect(g_mixer, effectId);
}

// ---- music commands -------------------------------------------------------------------------------

void SdlMciSendString(const char* command) {
    if (g_device == 0) return;
    AudioLock lock;
    MixerCommand(g_mixer, command);
}

MciState SdlMciState() {
    if (g_device == 0) return MciState{};
    AudioLock lock;
    MciState state = MixerMusicState(g_mixer);
    state.audible = state.open && g_midiAvailable;
    return state;
}

uint32_t SdlMciLastOpenMicroseconds() {
    if (g_device == 0) return 0;
    AudioLock lock;
    return MixerLastOpenMicros(g_mixer);
}

int SdlMciPendingLoads() { return SDL_AtomicGet(&g_synthLoading); }
