// The final mix: effects, music and the limiter, in one piece of code for the live device and for
// offline rendering (see audio_mix.h).
//
// Effects: each of the twelve effects owns one channel, as the game expects of its one buffer per
// effect: starting an effect that still sounds starts it again from the beginning, while different
// effects overlap freely. The old sound is faded out over a few milliseconds instead of being cut
// to the sample, which would click. Samples are converted once, when the effect is set, to mono
// floats at the output rate through a windowed-sinc interpolator, so an 11 kHz effect brings no
// mirror images of its spectrum into the upper octaves.
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
//
// The sum: effects and music, each at the player's loudness, are added in floating point, a DC
// blocker takes off anything below a few hertz, and a look-ahead limiter (1.5 ms) keeps every
// sample under -1 dBFS. The gains leave headroom so that in normal play the limiter only catches
// the rare pile-up of explosions. At the loudness of 100 every gain of the player's is exactly 1,
// and the output is the game's own to the bit.
#include "platform/audio_mix.h"
#include "platform/platform.h"

#include <fluidsynth.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

// The synthesiser's output gain (1.0 is its loudest) and the effects' gain in the sum: the
// effects carry their own balance (loudness, not peak), and sit under the music.
constexpr float MUSIC_GAIN = 0.5f;
constexpr float EFFECT_GAIN = 0.42f;
// The limiter: its ceiling (-1 dBFS), look-ahead and release.
constexpr float LIMIT_CEILING = 0.891f;
constexpr int LIMIT_LOOKAHEAD = 64;
constexpr double LIMIT_RELEASE_S = 0.15;
// How long a change of the player's loudness takes from silence to full.
constexpr double VOLUME_GLIDE_S = 0.02;
// The DC blocker's corner.
constexpr double DC_CORNER_HZ = 5.0;
// Frames rendered in one pass of the mixing loop.
constexpr int BLOCK_FRAMES = 256;
// A restarted effect's old sound fades out over this long.
constexpr double RESTART_FADE_S = 0.003;
// A stopped or replaced piece's bank fades out over this long after its notes were released.
constexpr double RELEASE_FADE_S = 0.25;
// How long the synthesiser goes on being rendered after its last voice ended: its reverb's tail.
constexpr double SYNTH_IDLE_S = 4.0;
constexpr int BANK_CHANNELS = 16;
constexpr int SYNTH_CHANNELS = 2 * BANK_CHANNELS;
constexpr int DRUM_CHANNEL = 9;  // General MIDI's drum channel, in each bank
constexpr size_t MAX_CACHED_PIECES = 10;
// Searched in this order after the SDL_SOUNDFONTS variable.
constexpr const char* SOUNDFONT_PATHS[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                           "/usr/share/sounds/sf2/default-GM.sf2"};

// A channel message at its sample of the output stream, counted from the start of its piece.
struct TimedEvent {
    int64_t sample;
    uint8_t status, data1, data2;
};

// One piece read from its file. Lives in the cache until the mixer goes (or the cache is full).
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
    int piece = -1;  // index into the cache
    bool playing = false;
};

// Where the sequencer is in the piece it plays.
struct Sequencer {
    int piece = -1;            // index into the cache; -1 when nothing plays
    int bank = 0;              // the synthesiser's bank the piece plays on
    int64_t position = 0;      // samples played of the piece
    size_t next = 0;           // its next message
    bool restartAtEnd = false; // "play from 0" came while the end was near: loop exactly at the end
    bool notify = false;       // report the end when it is near
    bool posted = false;       // and it has been reported
};

// A bank whose piece was stopped: its channels' volumes sink to nothing.
struct BankFade {
    bool active = false;
    int64_t left = 0;
    std::array<uint8_t, BANK_CHANNELS> volume{};
};

// One effect's channel: the sound at the output rate and where it plays, and the tail of the
// sound a restart cut off.
struct EffectChannel {
    std::vector<float> samples;
    size_t position = 0;
    bool playing = false;
    size_t tailPosition = 0;
    int tailLeft = 0;
};

// The look-ahead limiter. The gain each sample needs (ceiling / peak) goes through a minimum over
// the look-ahead, an envelope that drops at once and recovers slowly, and a moving average over
// the look-ahead; the audio is delayed by the look-ahead less one. Every value the average takes
// in at a peak's output is at most that peak's gain, so no sample leaves above the ceiling.
struct Limiter {
    std::array<float, LIMIT_LOOKAHEAD> delayLeft{}, delayRight{};
    std::array<float, LIMIT_LOOKAHEAD> minValue{};
    std::array<int64_t, LIMIT_LOOKAHEAD> minIndex{};
    int minHead = 0, minCount = 0;
    std::array<double, LIMIT_LOOKAHEAD> average{};
    double averageSum = LIMIT_LOOKAHEAD;
    int averageAt = 0;
    double envelope = 1.0;
    double release = 0.0;
    int64_t n = 0;
};

// One of the player's loudness controls: the gain now and the one it glides to, at most `step` a
// frame, landing on the target exactly (so 100 multiplies by exactly 1).
struct Loudness {
    float gain = 1.0f;
    float target = 1.0f;
    float step = 0.0f;
};

}  // namespace

struct MixerSynth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
};

struct AudioMixer {
    int rate = 44100;
    MixerSynth* synth = nullptr;
    std::string musicFolder;
    std::array<EffectChannel, MIXER_EFFECT_SLOTS> effects;
    std::vector<Piece> pieces;
    MusicDevice device;
    Sequencer sequencer;
    int lastStarted = -1;  // the piece last started and not stopped since (-1: none)
    int lastBank = 1;      // the bank it plays on; the first piece takes bank 0
    std::array<BankFade, 2> fades;
    std::array<uint8_t, SYNTH_CHANNELS> channelVolume{};  // CC7 as the pieces last set it
    int64_t silentFrames = 0;  // rendered since the synthesiser last had a piece or a voice
    bool endOfPiece = false;
    int notifyLeadMs = MIXER_NOTIFY_LEAD_MS;
    uint32_t lastOpenMicros = 0;
    double dcIn[2] = {0, 0}, dcOut[2] = {0, 0};
    double dcPole = 0.0;
    Limiter limiter;
    MixerStats stats;
    Loudness musicLoudness, effectsLoudness;
    std::array<float, BLOCK_FRAMES> musicLeft{}, musicRight{}, mixLeft{}, mixRight{};
    std::array<float, BLOCK_FRAMES> musicGains{}, effectsGains{};  // the block's gain, frame by frame
};

namespace {

int EffectSlot(int effectId) {
    const int slot = effectId - MIXER_FIRST_EFFECT_ID;
    return (slot >= 0 && slot < MIXER_EFFECT_SLOTS) ? slot : -1;
}

int64_t SecondsToFrames(const AudioMixer* m, double seconds) { return std::llround(seconds * m->rate); }

// ---- effects: conversion to the output rate ---------------------------------------------------

// Blackman-windowed sinc interpolation from one rate to another. The cut-off sits a little under
// the lower of the two Nyquist frequencies. The kernel is tabled for 512 positions between two
// input samples (each normalised to a gain of 1), so converting all the effects takes a few
// milliseconds at start-up.
std::vector<float> Resample(const std::vector<float>& in, int inRate, int outRate) {
    if (inRate == outRate || in.empty()) return in;
    constexpr double PI = 3.14159265358979323846;
    constexpr int PHASES = 512;
    const double ratio = static_cast<double>(outRate) / inRate;
    const double cutoff = 0.45 * std::min(1.0, ratio);  // cycles per input sample
    const int halfWidth = static_cast<int>(std::ceil(8.0 / std::min(1.0, ratio)));
    const int taps = 2 * halfWidth;
    // kernel[p][j]: the weight of input sample centre - halfWidth + 1 + j for an output at
    // centre + p / PHASES.
    std::vector<float> kernel(static_cast<size_t>(PHASES + 1) * taps);
    for (int p = 0; p <= PHASES; ++p) {
        double sum = 0.0;
        for (int j = 0; j < taps; ++j) {
            const double t = static_cast<double>(p) / PHASES + halfWidth - 1 - j;
            const double x = 2.0 * cutoff * t;
            const double sinc = std::fabs(x) < 1e-9 ? 1.0 : std::sin(PI * x) / (PI * x);
            const double w = 0.42 + 0.5 * std::cos(PI * t / halfWidth) + 0.08 * std::cos(2.0 * PI * t / halfWidth);
            const double h = sinc * std::max(0.0, w);
            kernel[static_cast<size_t>(p * taps + j)] = static_cast<float>(h);
            sum += h;
        }
        for (int j = 0; j < taps; ++j) kernel[static_cast<size_t>(p * taps + j)] /= static_cast<float>(sum);
    }
    const auto count = static_cast<size_t>(std::ceil(static_cast<double>(in.size()) * ratio));
    const auto size = static_cast<long>(in.size());
    std::vector<float> out(count);
    for (size_t i = 0; i < count; ++i) {
        const double at = static_cast<double>(i) / ratio;
        const auto centre = static_cast<long>(std::floor(at));
        const auto phase = static_cast<int>(std::lround((at - static_cast<double>(centre)) * PHASES));
        const float* h = &kernel[static_cast<size_t>(phase * taps)];
        float sum = 0.0f;
        for (int j = 0; j < taps; ++j) {
            const long k = centre - halfWidth + 1 + j;
            if (k >= 0 && k < size) sum += h[j] * in[static_cast<size_t>(k)];
        }
        out[i] = sum;
    }
    return out;
}

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
        case MCI_VERB_STOP:
            StopDevice(m);
            return;
        case MCI_VERB_CLOSE:
            StopDevice(m);
            m->device = MusicDevice{};
            return;
        default:
            return;
    }
}

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

// The player's loudness for each of the next frames into gains.
void GlideLoudness(Loudness& l, float* gains, int frames) {
    if (l.gain == l.target) {
        std::fill_n(gains, frames, l.gain);
        return;
    }
    for (int i = 0; i < frames; ++i) {
        if (l.gain != l.target) {
            const float left = l.target - l.gain;
            l.gain = std::fabs(left) <= l.step ? l.target : l.gain + (left > 0 ? l.step : -l.step);
        }
        gains[i] = l.gain;
    }
}

// Adds the effects of the next frames, at the player's loudness, to mixLeft/Right.
void RenderEffects(AudioMixer* m, int frames) {
    const int fadeFrames = std::max(1, static_cast<int>(SecondsToFrames(m, RESTART_FADE_S)));
    const float* loudness = m->effectsGains.data();
    for (EffectChannel& e : m->effects) {
        const size_t size = e.samples.size();
        for (int i = 0; i < frames && e.tailLeft > 0 && e.tailPosition < size; ++i) {
            const float v = e.samples[e.tailPosition++] * EFFECT_GAIN * static_cast<float>(e.tailLeft--) / fadeFrames *
                            loudness[i];
            m->mixLeft[static_cast<size_t>(i)] += v;
            m->mixRight[static_cast<size_t>(i)] += v;
        }
        if (!e.playing) continue;
        const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(frames), size - e.position));
        for (int i = 0; i < count; ++i) {
            const float v = e.samples[e.position + static_cast<size_t>(i)] * EFFECT_GAIN * loudness[i];
            m->mixLeft[static_cast<size_t>(i)] += v;
            m->mixRight[static_cast<size_t>(i)] += v;
        }
        e.position += static_cast<size_t>(count);
        if (e.position >= size) e.playing = false;
    }
}

// One stereo sample through the limiter (see Limiter).
void Limit(AudioMixer* m, float& left, float& right) {
    Limiter& l = m->limiter;
    const float peak = std::max(std::fabs(left), std::fabs(right));
    const float needed = peak > LIMIT_CEILING ? LIMIT_CEILING / peak : 1.0f;
    // The smallest gain needed over the last LIMIT_LOOKAHEAD samples: a queue of increasing gains.
    while (l.minCount > 0 && l.minValue[static_cast<size_t>((l.minHead + l.minCount - 1) % LIMIT_LOOKAHEAD)] >= needed) {
        --l.minCount;
    }
    const auto back = static_cast<size_t>((l.minHead + l.minCount) % LIMIT_LOOKAHEAD);
    l.minValue[back] = needed;
    l.minIndex[back] = l.n;
    ++l.minCount;
    while (l.minIndex[static_cast<size_t>(l.minHead)] <= l.n - LIMIT_LOOKAHEAD) {
        l.minHead = (l.minHead + 1) % LIMIT_LOOKAHEAD;
        --l.minCount;
    }
    const double least = l.minValue[static_cast<size_t>(l.minHead)];
    l.envelope = least < l.envelope ? least : l.envelope + (least - l.envelope) * l.release;
    l.averageSum += l.envelope - l.average[static_cast<size_t>(l.averageAt)];
    l.average[static_cast<size_t>(l.averageAt)] = l.envelope;
    l.averageAt = (l.averageAt + 1) % LIMIT_LOOKAHEAD;
    const auto gain = static_cast<float>(std::min(1.0, l.averageSum / LIMIT_LOOKAHEAD));
    const auto in = static_cast<size_t>(l.n % LIMIT_LOOKAHEAD);
    const auto out = static_cast<size_t>((l.n + 1) % LIMIT_LOOKAHEAD);
    l.delayLeft[in] = left;
    l.delayRight[in] = right;
    left = l.delayLeft[out] * gain;
    right = l.delayRight[out] * gain;
    ++l.n;
    if (gain < 0.999f) ++m->stats.limitedFrames;
}

int16_t ToSample(float v) {
    return static_cast<int16_t>(std::clamp(std::lround(static_cast<double>(v) * 32767.0), -32767L, 32767L));
}

}  // namespace

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

AudioMixer* MixerCreate(int rate) {
    auto* m = new AudioMixer;
    m->rate = rate;
    m->silentFrames = SecondsToFrames(m, SYNTH_IDLE_S);  // nothing has played: the synthesiser rests
    m->dcPole = std::exp(-2.0 * 3.14159265358979323846 * DC_CORNER_HZ / rate);
    m->limiter.release = 1.0 - std::exp(-1.0 / (LIMIT_RELEASE_S * rate));
    m->limiter.average.fill(1.0);
    m->channelVolume.fill(100);
    return m;
}

void MixerDestroy(AudioMixer* mixer) {
    if (!mixer) return;
    MixerSynthDestroy(mixer->synth);
    delete mixer;
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

bool MixerSetEffect(AudioMixer* mixer, int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond,
                    int bitsPerSample, int channels) {
    const int slot = EffectSlot(effectId);
    if (slot < 0 || !data || bytes == 0 || samplesPerSecond <= 0) return false;
    if ((bitsPerSample != 8 && bitsPerSample != 16) || (channels != 1 && channels != 2)) return false;
    const uint32_t frameBytes = static_cast<uint32_t>(bitsPerSample / 8 * channels);
    const uint32_t frames = bytes / frameBytes;
    if (frames == 0) return false;
    std::vector<float> mono(frames);
    for (uint32_t f = 0; f < frames; ++f) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            const uint8_t* p = data + f * frameBytes + static_cast<uint32_t>(c * bitsPerSample / 8);
            sum += bitsPerSample == 8 ? (p[0] - 128) / 128.0f : static_cast<int16_t>(p[0] | p[1] << 8) / 32768.0f;
        }
        mono[f] = sum / static_cast<float>(channels);
    }
    EffectChannel& e = mixer->effects[static_cast<size_t>(slot)];
    e = EffectChannel{};
    e.samples = Resample(mono, samplesPerSecond, mixer->rate);
    return true;
}

void MixerClearEffect(AudioMixer* mixer, int effectId) {
    const int slot = EffectSlot(effectId);
    if (slot >= 0) mixer->effects[static_cast<size_t>(slot)] = EffectChannel{};
}

bool MixerHasEffect(const AudioMixer* mixer, int effectId) {
    const int slot = EffectSlot(effectId);
    return slot >= 0 && !mixer->effects[static_cast<size_t>(slot)].samples.empty();
}

void MixerStartEffect(AudioMixer* mixer, int effectId) {
    const int slot = EffectSlot(effectId);
    if (slot < 0) return;
    EffectChannel& e = mixer->effects[static_cast<size_t>(slot)];
    if (e.samples.empty()) return;
    if (e.playing) {
        e.tailPosition = e.position;
        e.tailLeft = std::max(1, static_cast<int>(SecondsToFrames(mixer, RESTART_FADE_S)));
    }
    e.position = 0;
    e.playing = true;
}

void MixerStopEffect(AudioMixer* mixer, int effectId) {
    const int slot = EffectSlot(effectId);
    if (slot < 0) return;
    EffectChannel& e = mixer->effects[static_cast<size_t>(slot)];
    if (e.playing) {
        e.tailPosition = e.position;
        e.tailLeft = std::max(1, static_cast<int>(SecondsToFrames(mixer, RESTART_FADE_S)));
    }
    e.playing = false;
}

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

void MixerRender(AudioMixer* m, int16_t* stereo, int frames) {
    int done = 0;
    while (done < frames) {
        const int n = std::min(BLOCK_FRAMES, frames - done);
        RenderMusic(m, n);
        GlideLoudness(m->musicLoudness, m->musicGains.data(), n);
        GlideLoudness(m->effectsLoudness, m->effectsGains.data(), n);
        if (m->musicLoudness.gain == 1.0f && m->musicGains[0] == 1.0f) {
            std::copy_n(m->musicLeft.begin(), n, m->mixLeft.begin());  // the music as the game makes it
            std::copy_n(m->musicRight.begin(), n, m->mixRight.begin());
        } else {
            for (int i = 0; i < n; ++i) {
                const auto k = static_cast<size_t>(i);
                m->mixLeft[k] = m->musicLeft[k] * m->musicGains[k];
                m->mixRight[k] = m->musicRight[k] * m->musicGains[k];
            }
        }
        RenderEffects(m, n);
        for (int i = 0; i < n; ++i) {
            float sides[2] = {m->mixLeft[static_cast<size_t>(i)], m->mixRight[static_cast<size_t>(i)]};
            for (int c = 0; c < 2; ++c) {
                const double out = sides[c] - m->dcIn[c] + m->dcPole * m->dcOut[c];
                m->dcIn[c] = sides[c];
                m->dcOut[c] = out;
                sides[c] = static_cast<float>(out);
            }
            Limit(m, sides[0], sides[1]);
            m->stats.largestSample = std::max(m->stats.largestSample,
                                              static_cast<double>(std::max(std::fabs(sides[0]), std::fabs(sides[1]))));
            stereo[2 * (done + i)] = ToSample(sides[0]);
            stereo[2 * (done + i) + 1] = ToSample(sides[1]);
        }
        m->stats.frames += n;
        done += n;
    }
}

void MixerSetVolume(AudioMixer* mixer, int musicPercent, int effectsPercent, bool mute) {
    const auto gain = [mute](int percent) {
        const float share = static_cast<float>(std::clamp(percent, 0, 100)) / 100.0f;
        return mute ? 0.0f : share * share;
    };
    const float step = static_cast<float>(1.0 / std::max<int64_t>(1, SecondsToFrames(mixer, VOLUME_GLIDE_S)));
    mixer->musicLoudness.target = gain(musicPercent);
    mixer->effectsLoudness.target = gain(effectsPercent);
    mixer->musicLoudness.step = mixer->effectsLoudness.step = step;
    if (mixer->stats.frames == 0) {
        // Nothing heard yet: the loudness the player chose holds from the first sample on.
        mixer->musicLoudness.gain = mixer->musicLoudness.target;
        mixer->effectsLoudness.gain = mixer->effectsLoudness.target;
    }
}

bool MixerTakeEndOfPiece(AudioMixer* mixer) {
    const bool ended = mixer->endOfPiece;
    mixer->endOfPiece = false;
    return ended;
}

MixerStats MixerGetStats(const AudioMixer* mixer) { return mixer->stats; }

void MixerRenderTick(AudioMixer* mixer, const std::vector<int>& sounds, const std::vector<std::string>& music,
                     int16_t* stereo, int frames) {
    for (int id : sounds) MixerStartEffect(mixer, id);
    for (const std::string& command : music) MixerCommand(mixer, command.c_str());
    // In slices well inside the notification's lead, so the answer comes before the end.
    const int slice = std::max(1, mixer->rate / 100);
    for (int done = 0; done < frames; done += slice) {
        MixerRender(mixer, stereo + 2 * done, std::min(slice, frames - done));
        if (MixerTakeEndOfPiece(mixer)) {
            const std::string answer = "play " + mixer->device.alias + " from 0 notify";
            MixerCommand(mixer, answer.c_str());
        }
    }
}
