// The mixer's effects (see audio_mix.h).
//
// Effects: each of the twelve effects owns one channel, as the game expects of its one buffer per
// effect: starting an effect that still sounds starts it again from the beginning, while different
// effects overlap freely. The old sound is faded out over a few milliseconds instead of being cut
// to the sample, which would click. Samples are converted once, when the effect is set, to mono
// floats at the output rate through a windowed-sinc interpolator, so an 11 kHz effect brings no
// mirror images of its spectrum into the upper octaves.
#include <algorithm>
#include <cmath>

#include "platform/audio_mix_internal.h"

namespace {

// The effects' gain in the sum: they carry their own balance (loudness, not peak), and sit
// under the music.
constexpr float EFFECT_GAIN = 0.42f;
// A restarted effect's old sound fades out over this long.
constexpr double RESTART_FADE_S = 0.003;

int EffectSlot(int effectId) {
    const int slot = effectId - MIXER_FIRST_EFFECT_ID;
    return (slot >= 0 && slot < MIXER_EFFECT_SLOTS) ? slot : -1;
}

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

}  // namespace

// Adds the effects of the next frames, at the player's loudness, to mixLeft/Right.
void RenderEffects(AudioMixer* m, int frames) {
    const int fadeFrames = std::max(1, static_cast<int>(SecondsToFrames(m, RESTART_FADE_S)));
    const float* loudness = m->effectsGains.data();
    for (EffectChannel& e : m->effects) {
        const size_t size = e.samples.size();
        for (int i = 0; i < frames && e.tailLeft > 0 && e.tailPosition < size; ++i) {
            const float v =
                e.samples[e.tailPosition++] * EFFECT_GAIN * static_cast<float>(e.tailLeft--) / fadeFrames * loudness[i];
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

bool MixerSetEffect(AudioMixer* mixer, int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                    int channels) {
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
