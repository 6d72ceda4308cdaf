// The final mix: effects, music and the limiter, in one piece of code for the live device and for
// offline rendering (see audio_mix.h). The music is rendered in audio_music.cpp, the effects in
// audio_effects.cpp; here they are summed.
//
// The sum: effects and music, each at the player's loudness, are added in floating point, a DC
// blocker takes off anything below a few hertz, and a look-ahead limiter (1.5 ms) keeps every
// sample under -1 dBFS. The gains leave headroom so that in normal play the limiter only catches
// the rare pile-up of explosions. At the loudness of 100 every gain of the player's is exactly 1,
// and the output is the game's own to the bit.
#include "platform/audio_mix.h"

#include <algorithm>
#include <cmath>

#include "platform/audio_mix_internal.h"

namespace {

// The limiter: its ceiling (-1 dBFS) and release.
constexpr float LIMIT_CEILING = 0.891f;
constexpr double LIMIT_RELEASE_S = 0.15;
// How long a change of the player's loudness takes from silence to full.
constexpr double VOLUME_GLIDE_S = 0.02;
// The DC blocker's corner.
constexpr double DC_CORNER_HZ = 5.0;

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
            m->stats.largestSample =
                std::max(m->stats.largestSample, static_cast<double>(std::max(std::fabs(sides[0]), std::fabs(sides[1]))));
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

MixerStats MixerGetStats(const AudioMixer* mixer) { return mixer->stats; }

void MixerRenderTick(AudioMixer* mixer, const std::vector<int>& sounds, const std::vector<std::string>& music, int16_t* stereo,
                     int frames) {
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
