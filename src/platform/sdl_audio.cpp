// SDL back-end: sound effects and music on SDL2_mixer.
//
// Effects: each of the twelve effects owns one mixer channel (effect 101 + i on channel i), as
// the game expects of its one buffer per effect: starting an effect that still sounds cuts it
// off and starts it again, while different effects overlap freely. The samples
// are converted once, when the buffer is made, to the device's format.
//
// Music: a small stand-in for the MCI sequencer device. It holds at most one piece, opened under
// an alias, and understands the few command strings the game sends. MIDI plays through
// SDL2_mixer's FluidSynth back-end with a General MIDI soundfont. Two things of that back-end are
// worked around here:
//   - every Mix_LoadMUS of a MIDI file loads the whole soundfont again (75-350 ms here), far too
//     slow for the middle of a frame; so the pieces beside the program are loaded once, on a
//     loader thread started when the device opens, and "open" finds them in that cache (a file
//     not cached, or changed since, is still loaded on the spot; a piece still on its way is
//     waited for, which only happens when a game starts within a second of start-up).
//   - FluidSynth reports the end of a piece only once its voices have died away and then some
//     (about three seconds after the last note), which would leave a hole at every loop. The end
//     is instead taken from the piece's own tempo map, counted in samples of the output stream:
//     "play ... notify" notes the stream position where the piece starts, the mixer's post-mix
//     hook counts the samples mixed, and shortly before the end it posts the notification as an
//     SDL user event (SDL_PushEvent is safe from the audio thread). The window's event pump hands
//     it to the window procedure on the game's thread, whose "play" starts the piece again in
//     time for the join to land on the beat, whatever the audio clock does.
//     Stopping, closing or replacing the piece disarms it, so no restart follows.
//   - a piece halted in the middle keeps its synthesiser's dying voices frozen, and they would
//     sound again for a moment when the same piece is next played; so a piece stopped while it
//     played is loaded afresh on a loader thread, and the fresh copy takes its place the next
//     time it is opened (if the copy is not ready by then, the old one serves).
#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/mci.h"
#include "platform/platform_internal.h"

namespace {

constexpr int FIRST_EFFECT_ID = 101;
constexpr int EFFECT_SLOTS = 12;
constexpr int OUTPUT_RATE = 44100;
constexpr int OUTPUT_CHUNK = 512;  // samples per mixing pass: about 12 ms at 44.1 kHz
// The effects carry their own levels; the music sits below them so shots and explosions read.
constexpr int EFFECT_VOLUME = MIX_MAX_VOLUME * 7 / 8;
constexpr int MUSIC_VOLUME = MIX_MAX_VOLUME * 7 / 16;
// The pieces the game ships, loaded when the device opens (see above), in the order the game
// first needs them: ship selection, the first stage, the boss, ...
constexpr const char* PIECE_FILES[] = {"bgm03.mid", "bgm01.mid", "bgm04.mid", "bgm02.mid", "bgm05.mid", "bgm06.mid"};
constexpr size_t MAX_CACHED_PIECES = 10;
// What the notification's SDL event carries (the values of MM_MCINOTIFY and MCI_NOTIFY_SUCCESSFUL).
constexpr Sint32 NOTIFY_EVENT_CODE = 0x3B9;
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

// A copy of a piece being loaded on a loader thread. Shared by its piece and the loader; the
// loader writes music and then sets done, and touches it no more.
struct PendingLoad {
    std::string path;
    Mix_Music* music = nullptr;
    SDL_atomic_t done{};
};

// The loads one loader thread carries out, one after another. Owned by that thread.
struct LoadBatch {
    std::vector<std::shared_ptr<PendingLoad>> loads;
};

// One loaded piece. Lives in the cache until the device closes (or the cache is full).
struct Piece {
    std::string path;   // absolute path it was read from
    off_t size = 0;     // file size and time when read: a changed file is read again
    int64_t modified = 0;
    Mix_Music* music = nullptr;  // null when no soundfont is available: the piece stays silent
    uint32_t lengthMs = 0;
    std::shared_ptr<PendingLoad> pending;  // set while a (fresh) copy is on its way
};

// The MCI device: at most one open piece. Lives from "open" to "close".
struct MusicDevice {
    bool open = false;
    std::string alias;
    std::string file;
    int piece = -1;  // index into g_pieces
    bool playing = false;
};

// Device state; lives from SdlSoundInit to SdlSoundShutdown.
bool g_audioOpen = false;
std::array<EffectBuffer, EFFECT_SLOTS> g_effects;
bool g_midiAvailable = false;
std::vector<Piece> g_pieces;
MusicDevice g_device;
// The end-of-piece notification, shared between the game's thread (which arms and disarms it)
// and the audio thread (which counts the samples mixed and posts it); guarded by g_notifyLock.
struct EndOfPieceWatch {
    int64_t samplesMixed = 0;  // output frames mixed since the device opened
    bool armed = false;
    int64_t endSample = 0;     // where the armed piece ends in the output stream
    bool posted = false;       // the armed notification has been posted
};
EndOfPieceWatch g_watch;
SDL_SpinLock g_notifyLock = 0;
// Taken around every load of a piece (see LoadMusicFile).
SDL_mutex* g_loadLock = nullptr;
uint32_t g_lastOpenMicros = 0;
// The output stream's format, set when the device opens.
int g_outputRate = OUTPUT_RATE;
int g_frameBytes = 4;

int EffectSlot(int effectId) {
    const int slot = effectId - FIRST_EFFECT_ID;
    return (slot >= 0 && slot < EFFECT_SLOTS) ? slot : -1;
}

// ---- music ------------------------------------------------------------------------------------

const char* FindSoundFont() {
    const char* fromEnvironment = std::getenv("SDL_SOUNDFONTS");
    if (fromEnvironment && *fromEnvironment) return fromEnvironment;
    for (const char* path : SOUNDFONT_PATHS) {
        struct stat info {};
        if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) return path;
    }
    return nullptr;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Mix_LoadMUS is not safe on two threads at once: for a MIDI file it also tries SDL_mixer's
// built-in Timidity, whose set-up rebuilds global tables each time. Every load takes this lock.
Mix_Music* LoadMusicFile(const std::string& path) {
    SDL_LockMutex(g_loadLock);
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    SDL_UnlockMutex(g_loadLock);
    return music;
}

int RunLoads(void* batch) {
    const std::unique_ptr<LoadBatch> own(static_cast<LoadBatch*>(batch));
    for (const std::shared_ptr<PendingLoad>& load : own->loads) {
        load->music = LoadMusicFile(load->path);
        SDL_AtomicSet(&load->done, 1);
    }
    return 0;
}

// Loads a copy of each piece in the background, one after another, on one loader thread.
void StartLoads(const std::vector<Piece*>& pieces) {
    auto batch = std::make_unique<LoadBatch>();
    for (Piece* piece : pieces) {
        if (piece->pending) continue;
        piece->pending = std::make_shared<PendingLoad>();
        piece->pending->path = piece->path;
        batch->loads.push_back(piece->pending);
    }
    if (batch->loads.empty()) return;
    LoadBatch* handed = batch.release();
    SDL_Thread* thread = SDL_CreateThread(RunLoads, "vorne-music-load", handed);
    if (thread) {
        SDL_DetachThread(thread);
    } else {
        RunLoads(handed);  // no thread to be had: load here and now
    }
}

// Waits for a piece's pending copy, if any; takes it in place of the piece's music when take is
// set, otherwise throws it away.
void FinishLoad(Piece& piece, bool take) {
    if (!piece.pending) return;
    while (SDL_AtomicGet(&piece.pending->done) == 0) SDL_Delay(1);
    Mix_Music* copy = piece.pending->music;
    piece.pending.reset();
    if (!copy) return;
    if (take) {
        if (piece.music) Mix_FreeMusic(piece.music);
        piece.music = copy;
    } else {
        Mix_FreeMusic(copy);
    }
}

// Before a piece is played: its copy replaces it when ready, and is waited for when the piece has
// no music yet (loaded at start-up and not ready so far).
void TakePendingCopy(Piece& piece) {
    if (piece.pending && (SDL_AtomicGet(&piece.pending->done) != 0 || !piece.music)) FinishLoad(piece, true);
}

void FreePiece(Piece& piece) {
    FinishLoad(piece, false);
    if (piece.music) Mix_FreeMusic(piece.music);
    piece.music = nullptr;
}

// Finds the piece for a file name (relative to the current directory), loading it when it is not
// cached or has changed: here and now, or with inBackground on a loader thread. -1 when the file
// cannot be read as MIDI.
int FindOrLoadPiece(const std::string& file, bool inBackground) {
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
    if (!ReadWholeFile(piece.path, &bytes) || !MidiLengthMs(bytes, &piece.lengthMs)) return -1;
    if (g_midiAvailable && !inBackground) {
        piece.music = LoadMusicFile(piece.path);
        if (!piece.music) std::fprintf(stderr, "vorne: cannot play %s: %s\n", file.c_str(), Mix_GetError());
    }

    // Replace an older copy of the same file, or the oldest piece not open now when the cache is full.
    int slot = -1;
    for (size_t i = 0; i < g_pieces.size(); ++i) {
        if (g_pieces[i].path == piece.path && static_cast<int>(i) != g_device.piece) slot = static_cast<int>(i);
    }
    if (slot < 0 && g_pieces.size() >= MAX_CACHED_PIECES) slot = g_device.piece == 0 ? 1 : 0;
    if (slot < 0) {
        g_pieces.push_back(piece);
        return static_cast<int>(g_pieces.size()) - 1;
    }
    FreePiece(g_pieces[static_cast<size_t>(slot)]);
    g_pieces[static_cast<size_t>(slot)] = piece;
    return slot;
}

// The mixer's post-mix hook, on the audio thread after every pass: posts the notification when
// the piece ends less than a pass and a half after this one. The game's restart then reaches the
// mixer before the next pass; with the FluidSynth decoder's own look-ahead, the restarted piece's
// first beat comes out 1-2 ms after the end of the last (measured on 100 ms strokes).
void CountMixedSamples(void*, Uint8*, int bytes) {
    bool post = false;
    SDL_AtomicLock(&g_notifyLock);
    const int64_t passFrames = bytes / g_frameBytes;
    g_watch.samplesMixed += passFrames;
    if (g_watch.armed && !g_watch.posted && g_watch.endSample <= g_watch.samplesMixed + passFrames / 2 + passFrames) {
        g_watch.posted = true;
        post = true;
    }
    SDL_AtomicUnlock(&g_notifyLock);
    if (post) {
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        event.user.code = NOTIFY_EVENT_CODE;
        event.user.data1 = reinterpret_cast<void*>(NOTIFY_SUCCESSFUL);
        SDL_PushEvent(&event);
    }
}

void DisarmNotification() {
    SDL_AtomicLock(&g_notifyLock);
    g_watch.armed = false;
    g_watch.posted = false;
    SDL_AtomicUnlock(&g_notifyLock);
}

// Called right before the piece starts, which happens with the next pass.
void ArmNotification(uint32_t lengthMs) {
    SDL_AtomicLock(&g_notifyLock);
    g_watch.armed = true;
    g_watch.posted = false;
    g_watch.endSample = g_watch.samplesMixed + static_cast<int64_t>(lengthMs) * g_outputRate / 1000;
    SDL_AtomicUnlock(&g_notifyLock);
}

// Halts the piece. freshCopy: a piece cut short gets a fresh copy loaded for its next play (not
// when the device is closing down altogether).
void StopDevice(bool freshCopy) {
    DisarmNotification();
    if (g_device.playing) {
        // A piece that ended on its own has nothing left sounding; one cut short has.
        const bool cutShort = Mix_PlayingMusic() != 0;
        Mix_HaltMusic();
        Piece& piece = g_pieces[static_cast<size_t>(g_device.piece)];
        if (cutShort && freshCopy && piece.music) StartLoads({&piece});
    }
    g_device.playing = false;
}

void CarryOut(const MciCommand& c) {
    if (c.verb == MCI_VERB_OPEN) {
        // As MCI: an alias in use cannot be opened again (the game always closes first).
        if (g_device.open) return;
        const auto start = std::chrono::steady_clock::now();
        const int piece = FindOrLoadPiece(c.file, false);
        if (piece >= 0) TakePendingCopy(g_pieces[static_cast<size_t>(piece)]);
        g_lastOpenMicros = static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
        if (piece < 0) return;
        g_device = MusicDevice{true, c.alias, c.file, piece, false};
        return;
    }
    if (!g_device.open || SDL_strcasecmp(c.alias.c_str(), g_device.alias.c_str()) != 0) return;
    switch (c.verb) {
        case MCI_VERB_PLAY: {
            // Only "from 0" can be carried out: the sequencer cannot seek within a piece.
            if (c.hasFrom && c.from != 0) return;
            // Playing again from the start (the loop) lets the last notes ring on into the first.
            DisarmNotification();
            const Piece& piece = g_pieces[static_cast<size_t>(g_device.piece)];
            // The piece starts with the next pass. (Should a pass slip in between these two lines,
            // the notification comes one pass, 12 ms, early: the loop's last moment is cut.)
            if (c.notify && piece.lengthMs > 0) ArmNotification(piece.lengthMs);
            if (piece.music) Mix_PlayMusic(piece.music, 1);
            g_device.playing = true;
            return;
        }
        case MCI_VERB_STOP:
            StopDevice(true);
            return;
        case MCI_VERB_CLOSE:
            StopDevice(true);
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
    g_audioOpen = true;
    g_loadLock = SDL_CreateMutex();
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    g_outputRate = rate;
    g_frameBytes = std::max(1, static_cast<int>(SDL_AUDIO_BITSIZE(format)) / 8 * channels);
    g_watch = EndOfPieceWatch{};
    Mix_SetPostMix(CountMixedSamples, nullptr);
    Mix_AllocateChannels(EFFECT_SLOTS);
    Mix_Volume(-1, EFFECT_VOLUME);
    Mix_VolumeMusic(MUSIC_VOLUME);

    const char* soundFont = FindSoundFont();
    g_midiAvailable = false;
    if (!soundFont) {
        std::fprintf(stderr, "vorne: no General MIDI soundfont found (install timgm6mb-soundfont); the music is silent\n");
    } else {
        Mix_SetSoundFonts(soundFont);
        Mix_Init(MIX_INIT_MID);
        g_midiAvailable = true;
    }
    for (const char* file : PIECE_FILES) FindOrLoadPiece(file, true);
    if (g_midiAvailable) {
        std::vector<Piece*> pieces;
        for (Piece& piece : g_pieces) pieces.push_back(&piece);
        StartLoads(pieces);
    }
    return true;
}

void SdlSoundShutdown() {
    if (!g_audioOpen) return;
    StopDevice(false);
    g_device = MusicDevice{};
    for (Piece& piece : g_pieces) FreePiece(piece);
    g_pieces.clear();
    for (int slot = 0; slot < EFFECT_SLOTS; ++slot) SdlSoundReleaseBuffer(FIRST_EFFECT_ID + slot);
    Mix_SetPostMix(nullptr, nullptr);
    SDL_DestroyMutex(g_loadLock);  // every load has finished: each piece waited for its own
    g_loadLock = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
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
    SDL_AtomicLock(&g_notifyLock);
    state.notifyPending = g_watch.armed && !g_watch.posted;
    SDL_AtomicUnlock(&g_notifyLock);
    if (g_device.open) {
        const Piece& piece = g_pieces[static_cast<size_t>(g_device.piece)];
        state.file = g_device.file;
        state.lengthMs = piece.lengthMs;
        state.audible = piece.music != nullptr;
    }
    return state;
}

uint32_t SdlMciLastOpenMicroseconds() { return g_lastOpenMicros; }

int SdlMciPendingLoads() {
    int pending = 0;
    for (const Piece& piece : g_pieces) {
        if (piece.pending && SDL_AtomicGet(&piece.pending->done) == 0) ++pending;
    }
    return pending;
}
