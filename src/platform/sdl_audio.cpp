// SDL back-end: sound effects and music on SDL2_mixer.
//
// Effects: each of the twelve effects owns one mixer channel (effect 101 + i on channel i), as
// the game expects of its one buffer per effect: starting an effect that still sounds cuts it
// off and starts it again, while different effects overlap freely. The samples
// are converted once, when the buffer is made, to the device's format.
//
// Music: a small stand-in for the MCI sequencer device. It holds at most one piece, opened under
// an alias, and understands the few command strings the game sends. The pieces play on one
// FluidSynth synthesiser with a General MIDI soundfont, which we drive ourselves from the mixer's
// music hook, sample by sample:
//   - one synthesiser and one copy of the soundfont serve every piece. (A synthesiser per piece,
//     as a MIDI decoder per file would make, costs ten megabytes and a quarter of a second each.)
//     The soundfont is loaded once, on a loader thread started when the device opens; until it
//     is there the pieces run silently, which only happens within a second of start-up.
//   - the pieces are read when the device opens (the files beside the program) or when they are
//     first opened: a few kilobytes of messages each, laid out in samples of the output stream.
//   - the end of a piece is known to the sample. Shortly before it, the music hook posts the
//     notification as an SDL user event (SDL_PushEvent is safe from the audio thread); the window's
//     event pump hands it to the window procedure on the game's thread, whose "play ... from 0"
//     then arrives while the piece is still playing. That restart is carried out exactly at the
//     end, so the loop keeps its beat, and the last notes ring on into the first.
//     Stopping, closing or replacing the piece disarms it, so no restart follows.
//   - a piece halted in the middle is silenced at once, and the next piece starts from a clean
//     synthesiser (every channel reset to its General MIDI defaults).
#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/mci.h"
#include "platform/platform_internal.h"

namespace {

constexpr int FIRST_EFFECT_ID = FIRST_SOUND_EFFECT;
constexpr int EFFECT_SLOTS = SOUND_EFFECT_COUNT;
constexpr int OUTPUT_RATE = 44100;
constexpr int OUTPUT_CHUNK = 512;  // samples per mixing pass: about 12 ms at 44.1 kHz
// The effects carry their own levels; the music sits below them so shots and explosions read.
constexpr int EFFECT_VOLUME = MIX_MAX_VOLUME * 7 / 8;
constexpr float MUSIC_GAIN = 0.5f;  // the synthesiser's output gain (1.0 is its loudest)
// The pieces the game ships, read when the device opens.
constexpr const char* PIECE_FILES[] = {"bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid", "bgm05.mid", "bgm06.mid"};
constexpr size_t MAX_CACHED_PIECES = 10;
// How long before a piece's end its notification is posted: time enough for the game's thread to
// answer with its restart (it waits for events between ticks), and no more.
constexpr int NOTIFY_LEAD_MS = 40;
// How long the synthesiser goes on being rendered after its last voice ended: its reverb's tail.
constexpr int64_t SYNTH_IDLE_SAMPLES = OUTPUT_RATE * 4;
// What the notification's SDL event carries (the values of MM_MCINOTIFY and MCI_NOTIFY_SUCCESSFUL).
constexpr Sint32 NOTIFY_EVENT_CODE = MM_MCINOTIFY;
constexpr uintptr_t NOTIFY_SUCCESSFUL = 1;
// Searched in this order after the SDL_SOUNDFONTS variable.
constexpr const char* SOUNDFONT_PATHS[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                           "/usr/share/sounds/sf2/default-GM.sf2"};

// One effect's buffer: the converted samples and the mixer chunk over them. Lives from
// SdlSoundCreateBuffer to SdlSoundReleaseBuffer.
struct EffectBuffer {
    std::vector<uint8_t> samples;
    Mix_Chunk* chunk = nullptr;
};

// A channel message at its sample of the output stream, counted from the start of its piece.
struct TimedEvent {
    int64_t sample;
    uint8_t status, data1, data2;
};

// One piece read from its file. Lives in the cache until the device closes (or the cache is full).
struct Piece {
    std::string path;   // absolute path it was read from
    off_t size = 0;     // file size and time when read: a changed file is read again
    int64_t modified = 0;
    std::vector<TimedEvent> events;
    int64_t lengthSamples = 0;
    uint32_t lengthMs = 0;
};

// The MCI device: at most one open piece. Lives from "open" to "close".
struct MusicDevice {
    bool open = false;
    std::string alias;
    std::string file;
    int piece = -1;  // index into g_pieces
    bool playing = false;
};

// Where the sequencer is in the piece it plays. Shared by the game's thread (which starts, stops
// and restarts it) and the audio thread (which plays it in the music hook); guarded by g_musicLock.
struct Sequencer {
    int piece = -1;           // index into g_pieces; -1 when nothing plays
    int64_t position = 0;     // samples played of the piece
    size_t next = 0;          // its next message
    bool restartAtEnd = false;// "play from 0" came while the end was near: loop exactly at the end
    bool notify = false;      // post the notification near the end
    bool posted = false;      // and it has been posted
};

// Device state; lives from SdlSoundInit to SdlSoundShutdown.
bool g_audioOpen = false;
std::array<EffectBuffer, EFFECT_SLOTS> g_effects;
bool g_midiAvailable = false;  // a soundfont was found: the music is heard once it is loaded
std::vector<Piece> g_pieces;
MusicDevice g_device;
Sequencer g_sequencer;
// Samples mixed since the synthesiser last had a piece or a voice (up to SYNTH_IDLE_SAMPLES,
// when it stops being rendered). Guarded by g_musicLock.
int64_t g_silentSamples = 0;
// The piece last started on the synthesiser and not stopped since: playing it again lets its
// notes ring on; anything else starts from a reset synthesiser. Guarded by g_musicLock.
int g_lastStarted = -1;
SDL_mutex* g_musicLock = nullptr;
// The synthesiser, set by the loader thread once its soundfont is loaded (under g_musicLock).
fluid_settings_t* g_synthSettings = nullptr;
fluid_synth_t* g_synth = nullptr;
SDL_Thread* g_synthLoader = nullptr;
SDL_atomic_t g_synthLoading{};
uint32_t g_lastOpenMicros = 0;
int g_outputRate = OUTPUT_RATE;

int EffectSlot(int effectId) {
    const int slot = effectId - FIRST_EFFECT_ID;
    return (slot >= 0 && slot < EFFECT_SLOTS) ? slot : -1;
}

// ---- the synthesiser ----------------------------------------------------------------------------

const char* FindSoundFont() {
    const char* fromEnvironment = std::getenv("SDL_SOUNDFONTS");
    if (fromEnvironment && *fromEnvironment) return fromEnvironment;
    for (const char* path : SOUNDFONT_PATHS) {
        struct stat info {};
        if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) return path;
    }
    return nullptr;
}

// FluidSynth reports through a log of its own; its warnings and errors go to stderr under our
// name, its chatter nowhere.
void ReportSynthMessage(int level, const char* message, void*) {
    if (level <= FLUID_WARN) std::fprintf(stderr, "vorne: music: %s\n", message);
}

// On the loader thread: makes the synthesiser and loads the soundfont into it (some tens of
// milliseconds), then hands it to the music hook.
int LoadSynth(void* soundFontPath) {
    const std::string path = static_cast<const char*>(soundFontPath);
    std::free(soundFontPath);
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    if (settings) {
        fluid_settings_setnum(settings, "synth.sample-rate", g_outputRate);
        fluid_settings_setnum(settings, "synth.gain", MUSIC_GAIN);
        fluid_settings_setint(settings, "synth.threadsafe-api", 0);  // we guard it ourselves
        // Only the instruments the pieces choose have their samples in memory (a few megabytes
        // fewer); they are read when first chosen, from a soundfont the system has cached.
        fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
        synth = new_fluid_synth(settings);
    }
    if (synth && fluid_synth_sfload(synth, path.c_str(), 1) == FLUID_FAILED) {
        std::fprintf(stderr, "vorne: cannot read the soundfont %s; the music is silent\n", path.c_str());
        delete_fluid_synth(synth);
        synth = nullptr;
    }
    SDL_LockMutex(g_musicLock);
    g_synthSettings = settings;
    g_synth = synth;
    SDL_UnlockMutex(g_musicLock);
    SDL_AtomicSet(&g_synthLoading, 0);
    return 0;
}

void StartSynthLoad(const char* soundFont) {
    SDL_AtomicSet(&g_synthLoading, 1);
    char* path = SDL_strdup(soundFont);  // owned by the loader from here
    g_synthLoader = SDL_CreateThread(LoadSynth, "vorne-soundfont", path);
    if (!g_synthLoader) LoadSynth(path);  // no thread to be had: load here and now
}

void SendToSynth(fluid_synth_t* synth, const TimedEvent& e) {
    const int channel = e.status & 0x0F;
    switch (e.status & 0xF0) {
        case 0x80: fluid_synth_noteoff(synth, channel, e.data1); break;
        case 0x90:
            if (e.data2 == 0) {
                fluid_synth_noteoff(synth, channel, e.data1);
            } else {
                fluid_synth_noteon(synth, channel, e.data1, e.data2);
            }
            break;
        case 0xA0: fluid_synth_key_pressure(synth, channel, e.data1, e.data2); break;
        case 0xB0: fluid_synth_cc(synth, channel, e.data1, e.data2); break;
        case 0xC0: fluid_synth_program_change(synth, channel, e.data1); break;
        case 0xD0: fluid_synth_channel_pressure(synth, channel, e.data1); break;
        case 0xE0: fluid_synth_pitch_bend(synth, channel, e.data1 | (e.data2 << 7)); break;
        default: break;
    }
}

void PostNotification() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.code = NOTIFY_EVENT_CODE;
    event.user.data1 = reinterpret_cast<void*>(NOTIFY_SUCCESSFUL);
    SDL_PushEvent(&event);
}

// The mixer's music hook, on the audio thread before the effects are mixed in: plays the piece's
// messages that fall into this pass at their own samples, renders the synthesiser, and posts the
// notification when the end is near. The stream comes in silent.
void MixMusic(void*, Uint8* stream, int bytes) {
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    const int frames = bytes / 4;  // 16-bit stereo, as the device was opened
    bool post = false;
    SDL_LockMutex(g_musicLock);
    Sequencer& s = g_sequencer;
    const Piece* piece = s.piece >= 0 ? &g_pieces[static_cast<size_t>(s.piece)] : nullptr;
    int done = 0;
    while (done < frames) {
        int64_t until = frames;  // render up to here (in this pass)
        if (piece) {
            if (s.position >= piece->lengthSamples) {
                if (!s.restartAtEnd) {
                    s.piece = -1;  // played to its end; what still sounds rings out
                    piece = nullptr;
                    continue;
                }
                s.position = 0;
                s.next = 0;
                s.restartAtEnd = false;
                s.posted = false;
            }
            while (s.next < piece->events.size() && piece->events[s.next].sample <= s.position) {
                if (g_synth) SendToSynth(g_synth, piece->events[s.next]);
                ++s.next;
            }
            const int64_t nextStop = s.next < piece->events.size() ? piece->events[s.next].sample : piece->lengthSamples;
            until = std::min(until, done + std::min(nextStop, piece->lengthSamples) - s.position);
        }
        const int count = static_cast<int>(std::max<int64_t>(until - done, 1));
        if (g_synth && g_silentSamples < SYNTH_IDLE_SAMPLES) {
            fluid_synth_write_s16(g_synth, count, out, done * 2, 2, out, done * 2 + 1, 2);
        }
        if (piece) s.position += count;
        done += count;
    }
    // With no piece and no voice left, once the reverb has died away the synthesiser has nothing
    // more to say: it rests (the stream stays silent) until the next piece starts.
    if (piece || (g_synth && fluid_synth_get_active_voice_count(g_synth) > 0)) {
        g_silentSamples = 0;
    } else {
        g_silentSamples = std::min<int64_t>(g_silentSamples + frames, SYNTH_IDLE_SAMPLES);
    }
    if (piece && s.notify && !s.posted &&
        piece->lengthSamples - s.position <= static_cast<int64_t>(NOTIFY_LEAD_MS) * g_outputRate / 1000) {
        s.posted = true;
        post = true;
    }
    SDL_UnlockMutex(g_musicLock);
    if (post) PostNotification();
}

// ---- the pieces and the device ------------------------------------------------------------------

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

int64_t ToSamples(double micros) { return std::llround(micros * g_outputRate / 1e6); }

// Finds the piece for a file name (relative to the current directory), reading it when it is not
// cached or has changed. -1 when the file cannot be read as MIDI.
int FindOrLoadPiece(const std::string& file) {
    char resolved[PATH_MAX];
    if (!realpath(file.c_str(), resolved)) return -1;
    struct stat info {};
    if (stat(resolved, &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    const int64_t modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    for (size_t i = 0; i < g_pieces.size(); ++i) {
        const Piece& p = g_pieces[i];
        if (p.path == resolved && p.size == info.st_size && p.modified == modified) return static_cast<int>(i);
    }

    Piece piece;
    piece.path = resolved;
    piece.size = info.st_size;
    piece.modified = modified;
    std::vector<uint8_t> bytes;
    MidiPiece read;
    if (!ReadWholeFile(piece.path, &bytes) || !MidiReadPiece(bytes, &read)) return -1;
    piece.events.reserve(read.events.size());
    for (const MidiEvent& e : read.events) piece.events.push_back({ToSamples(e.micros), e.status, e.data1, e.data2});
    piece.lengthSamples = ToSamples(read.lengthMicros);
    piece.lengthMs = read.LengthMs();

    // Replace an older copy of the same file, or the oldest piece not open now when the cache is
    // full. The music hook reads the pieces, so they change only under its lock.
    int slot = -1;
    for (size_t i = 0; i < g_pieces.size(); ++i) {
        if (g_pieces[i].path == piece.path && static_cast<int>(i) != g_device.piece) slot = static_cast<int>(i);
    }
    if (slot < 0 && g_pieces.size() >= MAX_CACHED_PIECES) slot = g_device.piece == 0 ? 1 : 0;
    SDL_LockMutex(g_musicLock);
    if (slot >= 0 && g_sequencer.piece == slot) g_sequencer = Sequencer{};
    if (slot == g_lastStarted) g_lastStarted = -1;
    if (slot < 0) {
        g_pieces.push_back(std::move(piece));
        slot = static_cast<int>(g_pieces.size()) - 1;
    } else {
        g_pieces[static_cast<size_t>(slot)] = std::move(piece);
    }
    SDL_UnlockMutex(g_musicLock);
    return slot;
}

// Halts the piece: the sequencer stops and whatever sounds is silenced at once.
void StopDevice() {
    SDL_LockMutex(g_musicLock);
    g_sequencer = Sequencer{};
    g_lastStarted = -1;
    if (g_synth) fluid_synth_all_sounds_off(g_synth, -1);
    SDL_UnlockMutex(g_musicLock);
    g_device.playing = false;
}

// "play ... from 0": a new piece starts on a clean synthesiser; the piece that plays starts again
// at once, or exactly at its end when it is near it (the answer to its notification).
void PlayFromStart(bool notify) {
    SDL_LockMutex(g_musicLock);
    Sequencer& s = g_sequencer;
    if (s.piece == g_device.piece && s.posted) {
        s.restartAtEnd = true;
    } else {
        if (g_device.piece != g_lastStarted && g_synth) fluid_synth_system_reset(g_synth);
        s = Sequencer{};
        s.piece = g_device.piece;
        g_lastStarted = g_device.piece;
    }
    s.notify = notify;  // after a restart at the end: for the next round
    g_silentSamples = 0;  // the synthesiser plays from the next pass on
    SDL_UnlockMutex(g_musicLock);
    g_device.playing = true;
}

void CarryOut(const MciCommand& c) {
    if (c.verb == MCI_VERB_OPEN) {
        // As MCI: an alias in use cannot be opened again (the game always closes first).
        if (g_device.open) return;
        const auto start = std::chrono::steady_clock::now();
        const int piece = FindOrLoadPiece(c.file);
        g_lastOpenMicros = static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
        if (piece < 0) return;
        g_device = MusicDevice{true, c.alias, c.file, piece, false};
        return;
    }
    if (!g_device.open || SDL_strcasecmp(c.alias.c_str(), g_device.alias.c_str()) != 0) return;
    switch (c.verb) {
        case MCI_VERB_PLAY:
            // Only "from 0" can be carried out: the sequencer does not seek within a piece.
            if (c.hasFrom && c.from != 0) return;
            PlayFromStart(c.notify);
            return;
        case MCI_VERB_STOP:
            StopDevice();
            return;
        case MCI_VERB_CLOSE:
            StopDevice();
            g_device = MusicDevice{};
            return;
        default:
            return;
    }
}

}  // namespace

// ---- device -------------------------------------------------------------------------------------

bool SdlSoundInit() {
    if (g_audioOpen) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "vorne: no audio: %s\n", SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(OUTPUT_RATE, AUDIO_S16SYS, 2, OUTPUT_CHUNK) != 0) {
        std::fprintf(stderr, "vorne: cannot open the audio device: %s\n", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    if (format != AUDIO_S16SYS || channels != 2) {
        // Mix_OpenAudio lets SDL convert whatever the device wants from this format.
        std::fprintf(stderr, "vorne: the audio device did not take 16-bit stereo\n");
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    g_audioOpen = true;
    g_outputRate = rate;
    g_musicLock = SDL_CreateMutex();
    g_sequencer = Sequencer{};
    g_lastStarted = -1;
    g_silentSamples = SYNTH_IDLE_SAMPLES;  // nothing has played: the synthesiser rests
    Mix_AllocateChannels(EFFECT_SLOTS);
    Mix_Volume(-1, EFFECT_VOLUME);

    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, ReportSynthMessage, nullptr);
    }
    const char* soundFont = FindSoundFont();
    g_midiAvailable = soundFont != nullptr;
    if (soundFont) {
        StartSynthLoad(soundFont);
    } else {
        std::fprintf(stderr, "vorne: no General MIDI soundfont found (install timgm6mb-soundfont); the music is silent\n");
    }
    for (const char* file : PIECE_FILES) FindOrLoadPiece(file);
    Mix_HookMusic(MixMusic, nullptr);
    return true;
}

void SdlSoundShutdown() {
    if (!g_audioOpen) return;
    Mix_HookMusic(nullptr, nullptr);
    if (g_synthLoader) SDL_WaitThread(g_synthLoader, nullptr);
    g_synthLoader = nullptr;
    g_device = MusicDevice{};
    g_sequencer = Sequencer{};
    g_pieces.clear();
    if (g_synth) delete_fluid_synth(g_synth);
    if (g_synthSettings) delete_fluid_settings(g_synthSettings);
    g_synth = nullptr;
    g_synthSettings = nullptr;
    for (int slot = 0; slot < EFFECT_SLOTS; ++slot) SdlSoundReleaseBuffer(FIRST_EFFECT_ID + slot);
    Mix_CloseAudio();
    SDL_DestroyMutex(g_musicLock);
    g_musicLock = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    g_audioOpen = false;
    g_midiAvailable = false;
}

// ---- effects ------------------------------------------------------------------------------------

bool SdlSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond,
                          int bitsPerSample, int channels) {
    const int slot = EffectSlot(effectId);
    if (!g_audioOpen || slot < 0 || !data || bytes == 0 || samplesPerSecond <= 0) return false;
    if ((bitsPerSample != 8 && bitsPerSample != 16) || (channels != 1 && channels != 2)) return false;
    SdlSoundReleaseBuffer(effectId);

    int outRate = 0;
    Uint16 outFormat = 0;
    int outChannels = 0;
    if (Mix_QuerySpec(&outRate, &outFormat, &outChannels) == 0) return false;
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(channels),
                          samplesPerSecond, outFormat, static_cast<Uint8>(outChannels), outRate) < 0) {
        return false;
    }
    const uint32_t frameBytes = static_cast<uint32_t>(bitsPerSample / 8 * channels);
    const uint32_t usable = bytes - bytes % frameBytes;
    if (usable == 0) return false;
    EffectBuffer& effect = g_effects[static_cast<size_t>(slot)];
    effect.samples.assign(static_cast<size_t>(usable) * static_cast<size_t>(cvt.len_mult), 0);
    std::copy(data, data + usable, effect.samples.begin());
    cvt.buf = effect.samples.data();
    cvt.len = static_cast<int>(usable);
    if (SDL_ConvertAudio(&cvt) != 0) {
        effect.samples.clear();
        return false;
    }
    effect.samples.resize(static_cast<size_t>(cvt.len_cvt));
    effect.chunk = Mix_QuickLoad_RAW(effect.samples.data(), static_cast<Uint32>(effect.samples.size()));
    if (!effect.chunk) {
        effect.samples.clear();
        return false;
    }
    return true;
}

void SdlSoundPlay(int effectId) {
    const int slot = EffectSlot(effectId);
    if (!g_audioOpen || slot < 0 || !g_effects[static_cast<size_t>(slot)].chunk) return;
    // Playing on a busy channel stops what it plays and starts again from the beginning.
    Mix_PlayChannel(slot, g_effects[static_cast<size_t>(slot)].chunk, 0);
}

void SdlSoundStop(int effectId) {
    const int slot = EffectSlot(effectId);
    if (g_audioOpen && slot >= 0) Mix_HaltChannel(slot);
}

void SdlSoundReleaseBuffer(int effectId) {
    const int slot = EffectSlot(effectId);
    if (slot < 0) return;
    EffectBuffer& effect = g_effects[static_cast<size_t>(slot)];
    if (effect.chunk) {
        Mix_HaltChannel(slot);
        Mix_FreeChunk(effect.chunk);  // a chunk made by Mix_QuickLoad_RAW does not own its samples
    }
    effect.chunk = nullptr;
    effect.samples.clear();
    effect.samples.shrink_to_fit();
}

// ---- music commands -------------------------------------------------------------------------------

void SdlMciSendString(const char* command) {
    MciCommand parsed;
    if (!g_audioOpen || !MciParseCommand(command, &parsed)) return;  // as MCI errors: ignored
    CarryOut(parsed);
}

MciState SdlMciState() {
    MciState state;
    state.open = g_device.open;
    state.playing = g_device.playing;
    if (g_musicLock) {
        SDL_LockMutex(g_musicLock);
        const Sequencer& s = g_sequencer;
        state.notifyPending = s.piece >= 0 && s.notify && (!s.posted || s.restartAtEnd);
        SDL_UnlockMutex(g_musicLock);
    }
    if (g_device.open) {
        state.file = g_device.file;
        state.lengthMs = g_pieces[static_cast<size_t>(g_device.piece)].lengthMs;
        state.audible = g_midiAvailable;
    }
    return state;
}

uint32_t SdlMciLastOpenMicroseconds() { return g_lastOpenMicros; }

int SdlMciPendingLoads() { return SDL_AtomicGet(&g_synthLoading); }
