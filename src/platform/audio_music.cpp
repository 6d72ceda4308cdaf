// The mixer's music (see audio_mix.h).
//
// Music: a small stand-in for the MCI sequencer device. It holds at most one piece, opened under
// an alias, and understands the few command strings the game sends. The pieces play on one
// FluidSynth synthesiser with a General MIDI soundfont, driven from here sample by sample:
//   - the pieces are read once (a few kilobytes of messages each) and laid out in samples of the
//     output stream, so the end of a piece is known to the sample. Shortly before it the mixer
//     reports the end; the game's answer, "play ... from 0", then arrives while the piece still
//     plays, and the restart is carried out exactly at the end, so the loop keeps its beat and
//     the last notes ring on into the first.
//   - the synthesiser has two banks of sixteen MIDI channels, and each new piece plays on the
//     bank the previous one did not use. When a piece is stopped or replaced, its notes are
//     released and its bank fades out over a quarter of a second while the next piece starts
//     clean on the other bank: the old piece's release and reverb tails are heard, never chopped,
//     and nothing of it comes back with the next piece.
#include <fluidsynth.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/audio_mix_internal.h"
#include "platform/platform.h"

namespace {

// The synthesiser's output gain (1.0 is its loudest).
constexpr float MUSIC_GAIN = 0.5f;
// A stopped or replaced piece's bank fades out over this long after its notes were released.
constexpr double RELEASE_FADE_S = 0.25;
constexpr int DRUM_CHANNEL = 9;  // General MIDI's drum channel, in each bank
constexpr size_t MAX_CACHED_PIECES = 10;
// Searched in this order after the SDL_SOUNDFONTS variable.
constexpr const char* SOUNDFONT_PATHS[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2"};

// ---- the synthesiser ----------------------------------------------------------------------------

// FluidSynth reports through a log of its own; its warnings and errors go to stderr under our
// name, its chatter nowhere.
void ReportSynthMessage(int level, const char* message, void*) {
    if (level <= FLUID_WARN) std::fprintf(stderr, "vorne: music: %s\n", message);
}

fluid_synth_t* Synth(const AudioMixer* m) { return m->synth ? m->synth->synth : nullptr; }

void SendToSynth(AudioMixer* m, int bank, const TimedEvent& e) {
    const int channel = (e.status & 0x0F) + bank * BANK_CHANNELS;
    if ((e.status & 0xF0) == 0xB0 && e.data1 == 7) m->channelVolume[static_cast<size_t>(channel)] = e.data2;
    fluid_synth_t* synth = Synth(m);
    if (!synth) return;
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

}  // namespace

// Puts a bank's channels back to their General MIDI defaults, silencing whatever still sounds
// on them.
void ResetBank(AudioMixer* m, int bank) {
    m->fades[static_cast<size_t>(bank)].active = false;
    for (int i = 0; i < BANK_CHANNELS; ++i) {
        const int channel = bank * BANK_CHANNELS + i;
        m->channelVolume[static_cast<size_t>(channel)] = 100;
        fluid_synth_t* synth = Synth(m);
        if (!synth) continue;
        fluid_synth_all_sounds_off(synth, channel);
        fluid_synth_cc(synth, channel, 121, 0);  // controllers to their defaults
        fluid_synth_cc(synth, channel, 7, 100);
        fluid_synth_cc(synth, channel, 10, 64);
        fluid_synth_cc(synth, channel, 91, 40);
        fluid_synth_cc(synth, channel, 93, 0);
        fluid_synth_cc(synth, channel, 0, 0);
        fluid_synth_cc(synth, channel, 32, 0);
        fluid_synth_pitch_bend(synth, channel, 8192);
        fluid_synth_program_change(synth, channel, 0);
    }
}

namespace {

// A piece stops sounding: its notes go into their release and its bank fades out.
void ReleaseBank(AudioMixer* m, int bank) {
    BankFade& fade = m->fades[static_cast<size_t>(bank)];
    fade.active = true;
    fade.left = SecondsToFrames(m, RELEASE_FADE_S);
    for (int i = 0; i < BANK_CHANNELS; ++i) {
        const int channel = bank * BANK_CHANNELS + i;
        fade.volume[static_cast<size_t>(i)] = m->channelVolume[static_cast<size_t>(channel)];
        if (fluid_synth_t* synth = Synth(m)) {
            fluid_synth_cc(synth, channel, 64, 0);  // no pedal holds a note
            fluid_synth_all_notes_off(synth, channel);
        }
    }
}

// Moves the fading banks on by frames.
void AdvanceFades(AudioMixer* m, int frames) {
    const int64_t total = SecondsToFrames(m, RELEASE_FADE_S);
    for (int bank = 0; bank < 2; ++bank) {
        BankFade& fade = m->fades[static_cast<size_t>(bank)];
        if (!fade.active) continue;
        fade.left = std::max<int64_t>(0, fade.left - frames);
        fluid_synth_t* synth = Synth(m);
        for (int i = 0; i < BANK_CHANNELS; ++i) {
            const int channel = bank * BANK_CHANNELS + i;
            const auto volume = static_cast<uint8_t>(fade.volume[static_cast<size_t>(i)] * fade.left / total);
            if (synth && volume != m->channelVolume[static_cast<size_t>(channel)]) fluid_synth_cc(synth, channel, 7, volume);
            m->channelVolume[static_cast<size_t>(channel)] = volume;
            if (synth && fade.left == 0) fluid_synth_all_sounds_off(synth, channel);
        }
        if (fade.left == 0) fade.active = false;
    }
}

// ---- the pieces and the device ------------------------------------------------------------------

// Finds the piece for a file name, reading it when it is not cached or has changed. -1 when the
// file cannot be read as MIDI. Without a music folder, a name is looked up as every data file is
// (the current directory first, then the installed data folders).
int FindOrLoadPiece(AudioMixer* m, const std::string& file) {
    std::string name = m->musicFolder.empty() || (!file.empty() && file[0] == '/') ? file : m->musicFolder + "/" + file;
    if (m->musicFolder.empty()) PlatFindDataFile(file.c_str(), &name);
    char resolved[PATH_MAX];
    if (!realpath(name.c_str(), resolved)) return -1;
    struct stat info {};
    if (stat(resolved, &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    const int64_t modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    for (size_t i = 0; i < m->pieces.size(); ++i) {
        const Piece& p = m->pieces[i];
        if (p.path == resolved && p.size == info.st_size && p.modified == modified) return static_cast<int>(i);
    }

    Piece piece;
    piece.path = resolved;
    piece.size = info.st_size;
    piece.modified = modified;
    MidiPiece read;
    std::string problem;
    if (!MidiReadFile(piece.path, &read, &problem)) return -1;
    const auto toFrames = [m](double micros) { return std::llround(micros * m->rate / 1e6); };
    piece.events.reserve(read.events.size());
    for (const MidiEvent& e : read.events) piece.events.push_back({toFrames(e.micros), e.status, e.data1, e.data2});
    piece.lengthSamples = toFrames(read.lengthMicros);
    piece.lengthMs = read.LengthMs();

    // Replace an older copy of the same file, or the oldest piece not open now when the cache is
    // full.
    int slot = -1;
    for (size_t i = 0; i < m->pieces.size(); ++i) {
        if (m->pieces[i].path == piece.path && static_cast<int>(i) != m->device.piece) slot = static_cast<int>(i);
    }
    if (slot < 0 && m->pieces.size() >= MAX_CACHED_PIECES) slot = m->device.piece == 0 ? 1 : 0;
    if (slot >= 0 && m->sequencer.piece == slot) m->sequencer = Sequencer{};
    if (slot >= 0 && slot == m->lastStarted) m->lastStarted = -1;
    if (slot < 0) {
        m->pieces.push_back(std::move(piece));
        return static_cast<int>(m->pieces.size()) - 1;
    }
    m->pieces[static_cast<size_t>(slot)] = std::move(piece);
    return slot;
}

// Halts the piece: the sequencer stops and what sounds is released.
void StopDevice(AudioMixer* m) {
    m->sequencer = Sequencer{};
    if (m->lastStarted >= 0) ReleaseBank(m, m->lastBank);
    m->lastStarted = -1;
    m->device.playing = false;
}

// "play ... from 0": a new piece starts on a clean bank; the piece that plays starts again at
// once, or exactly at its end when it is near it (the answer to its notification).
void PlayFromStart(AudioMixer* m, bool notify) {
    Sequencer& s = m->sequencer;
    if (s.piece == m->device.piece && s.posted) {
        s.restartAtEnd = true;
    } else if (m->device.piece == m->lastStarted) {
        s = Sequencer{};  // the same piece again: its notes ring on into its start
        s.piece = m->device.piece;
        s.bank = m->lastBank;
    } else {
        if (m->lastStarted >= 0) ReleaseBank(m, m->lastBank);
        m->lastBank = 1 - m->lastBank;
        ResetBank(m, m->lastBank);
        s = Sequencer{};
        s.piece = m->device.piece;
        s.bank = m->lastBank;
        m->lastStarted = m->device.piece;
    }
    s.notify = notify;  // after a restart at the end: for the next round
    m->silentFrames = 0;
    m->device.playing = true;
}

void CarryOut(AudioMixer* m, const MciCommand& c) {
    if (c.verb == MCI_VERB_OPEN) {
        // As MCI: an alias in use cannot be opened again (the game always closes first).
        if (m->device.open) return;
        const auto start = std::chrono::steady_clock::now();
        const int piece = FindOrLoadPiece(m, c.file);
        m->lastOpenMicros = static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
        if (piece < 0) return;
        m->device = MusicDevice{true, c.alias, c.file, piece, false};
        return;
    }
    if (!m->device.open || strcasecmp(c.alias.c_str(), m->device.alias.c_str()) != 0) return;
    switch (c.verb) {
        case MCI_VERB_PLAY:
            // Only "from 0" can be carried out: the sequencer does not seek within a piece.
            if (c.hasFrom && c.from != 0) return;
            PlayFromStart(m, c.notify);
            return;
        case MCI_VERB_STOP: StopDevice(m); return;
        case MCI_VERB_CLOSE:
            StopDevice(m);
            m->device = MusicDevice{};
            return;
        default: return;
    }
}

}  // namespace

// ---- rendering ------------------------------------------------------------------------------------

// The music of the next frames (at most BLOCK_FRAMES) into musicLeft/Right: plays the piece's
// messages that fall into them at their own samples and renders the synthesiser between them.
void RenderMusic(AudioMixer* m, int frames) {
    std::fill_n(m->musicLeft.begin(), frames, 0.0f);
    std::fill_n(m->musicRight.begin(), frames, 0.0f);
    AdvanceFades(m, frames);
    Sequencer& s = m->sequencer;
    const Piece* piece = s.piece >= 0 ? &m->pieces[static_cast<size_t>(s.piece)] : nullptr;
    const bool rendering = Synth(m) && m->silentFrames < SecondsToFrames(m, SYNTH_IDLE_S);
    int done = 0;
    while (done < frames) {
        int64_t until = frames;  // render up to here (in this block)
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
                SendToSynth(m, s.bank, piece->events[s.next]);
                ++s.next;
            }
            const int64_t nextStop = s.next < piece->events.size() ? piece->events[s.next].sample : piece->lengthSamples;
            until = std::min(until, done + std::min(nextStop, piece->lengthSamples) - s.position);
        }
        const int count = static_cast<int>(std::max<int64_t>(until - done, 1));
        if (rendering) {
            fluid_synth_write_float(Synth(m), count, m->musicLeft.data(), done, 1, m->musicRight.data(), done, 1);
        }
        if (piece) s.position += count;
        done += count;
    }
    // With no piece and no voice left, once the reverb has died away the synthesiser has nothing
    // more to say: it rests until the next piece starts.
    if (piece || (Synth(m) && fluid_synth_get_active_voice_count(Synth(m)) > 0)) {
        m->silentFrames = 0;
    } else {
        m->silentFrames = std::min<int64_t>(m->silentFrames + frames, SecondsToFrames(m, SYNTH_IDLE_S));
    }
    if (piece && s.notify && !s.posted &&
        piece->lengthSamples - s.position <= static_cast<int64_t>(m->notifyLeadMs) * m->rate / 1000) {
        s.posted = true;
        m->endOfPiece = true;
    }
}

// ---- the interface --------------------------------------------------------------------------------

const char* MixerFindSoundFont() {
    const auto regular = [](const char* path) {
        struct stat info {};
        return stat(path, &info) == 0 && S_ISREG(info.st_mode);
    };
    const char* fromEnvironment = std::getenv("SDL_SOUNDFONTS");
    if (fromEnvironment && *fromEnvironment) {
        // A FIFO or device there would hold the loader, and the end of the game waiting for it.
        if (regular(fromEnvironment)) return fromEnvironment;
        std::fprintf(stderr, "vorne: the soundfont %s is not a regular file\n", fromEnvironment);
        return nullptr;
    }
    for (const char* path : SOUNDFONT_PATHS) {
        if (regular(path)) return path;
    }
    return nullptr;
}

MixerSynth* MixerSynthCreate(const char* soundFontPath, int rate) {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, ReportSynthMessage, nullptr);
    }
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) return nullptr;
    fluid_settings_setnum(settings, "synth.sample-rate", rate);
    fluid_settings_setnum(settings, "synth.gain", MUSIC_GAIN);
    fluid_settings_setint(settings, "synth.midi-channels", SYNTH_CHANNELS);
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);  // the mixer's caller guards it
    // Only the instruments the pieces choose have their samples in memory (a few megabytes
    // fewer); they are read when first chosen, from a soundfont the system has cached.
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (synth && fluid_synth_sfload(synth, soundFontPath, 1) == FLUID_FAILED) {
        std::fprintf(stderr, "vorne: cannot read the soundfont %s; the music is silent\n", soundFontPath);
        delete_fluid_synth(synth);
        synth = nullptr;
    }
    if (!synth) {
        delete_fluid_settings(settings);
        return nullptr;
    }
    fluid_synth_set_channel_type(synth, BANK_CHANNELS + DRUM_CHANNEL, CHANNEL_TYPE_DRUM);
    fluid_synth_program_reset(synth);
    return new MixerSynth{settings, synth};
}

void MixerSynthDestroy(MixerSynth* synth) {
    if (!synth) return;
    delete_fluid_synth(synth->synth);
    delete_fluid_settings(synth->settings);
    delete synth;
}

void MixerAttachSynth(AudioMixer* mixer, MixerSynth* synth) {
    MixerSynthDestroy(mixer->synth);
    mixer->synth = synth;
    // Whatever plays already picks up from here on its bank's current state.
    if (synth) {
        for (int bank = 0; bank < 2; ++bank) ResetBank(mixer, bank);
    }
}

bool MixerHasSynth(const AudioMixer* mixer) { return mixer->synth != nullptr; }

void MixerSetMusicFolder(AudioMixer* mixer, const std::string& folder) { mixer->musicFolder = folder; }

void MixerSetNotifyLead(AudioMixer* mixer, int milliseconds) { mixer->notifyLeadMs = std::max(0, milliseconds); }

bool MixerPreloadPiece(AudioMixer* mixer, const std::string& file) { return FindOrLoadPiece(mixer, file) >= 0; }

void MixerCommand(AudioMixer* mixer, const char* command) {
    MciCommand parsed;
    if (MciParseCommand(command, &parsed)) CarryOut(mixer, parsed);  // as MCI errors: ignored
}

MciState MixerMusicState(const AudioMixer* mixer) {
    MciState state;
    const Sequencer& s = mixer->sequencer;
    state.open = mixer->device.open;
    state.playing = mixer->device.playing;
    state.notifyPending = s.piece >= 0 && s.notify && (!s.posted || s.restartAtEnd);
    if (mixer->device.open) {
        state.file = mixer->device.file;
        state.lengthMs = mixer->pieces[static_cast<size_t>(mixer->device.piece)].lengthMs;
        state.audible = mixer->synth != nullptr;
    }
    return state;
}

uint32_t MixerLastOpenMicros(const AudioMixer* mixer) { return mixer->lastOpenMicros; }

bool MixerTakeEndOfPiece(AudioMixer* mixer) {
    const bool ended = mixer->endOfPiece;
    mixer->endOfPiece = false;
    return ended;
}
