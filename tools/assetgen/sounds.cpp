// The twelve sound effects, synthesised: square and noise generators shaped by pitch and volume
// envelopes, a one-pole low-pass for the rumbles, written as 8-bit mono PCM at 11025 samples a
// second. Each effect has the exact number of sample bytes the game's table gives, and is stored
// as a RIFF WAVE file with an 18-byte "fmt " chunk, a "fact" chunk and the "data" chunk. The same
// bytes go into the executable (a generated C++ source of resources) and, for listening, into
// effect101.wav .. effect112.wav. Everything is computed from integers and fixed seeds, so every
// build writes the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>

#include "assetgen.h"

namespace {

constexpr int RATE = 11025;
constexpr double PI = 3.14159265358979323846;
constexpr int EFFECT_COUNT = 12;
constexpr int FIRST_EFFECT = 101;
constexpr int EFFECT_BYTES[EFFECT_COUNT] = {39360, 35323, 15291, 4331, 22099, 14080, 6691, 5051, 6691, 9140, 7872, 5824};

// ---- generators --------------------------------------------------------------------------------

// A square wave whose frequency may change every sample; duty is the high part of a cycle.
struct Square {
    double phase = 0.0;
    double Next(double hz, double duty = 0.5) {
        phase += hz / RATE;
        phase -= std::floor(phase);
        return phase < duty ? 1.0 : -1.0;
    }
};

// White noise from a 15-bit shift register, held for RATE / hz samples: a lower hold rate gives a
// darker, rougher noise, as on the old sound chips.
struct Noise {
    uint32_t shift = 0x4A5B;
    double hold = 0.0;
    double value = 0.0;
    double Next(double hz) {
        hold += hz / RATE;
        if (hold >= 1.0) {
            hold -= std::floor(hold);
            const uint32_t bit = (shift ^ (shift >> 1)) & 1;
            shift = (shift >> 1) | (bit << 14);
            value = (shift & 1) ? 1.0 : -1.0;
        }
        return value;
    }
};

// One-pole low-pass filter; cutoff in Hz.
struct LowPass {
    double state = 0.0;
    double Next(double in, double cutoffHz) {
        const double a = 1.0 - std::exp(-2.0 * PI * cutoffHz / RATE);
        state += a * (in - state);
        return state;
    }
};

// Exponential glide from a to b over the whole of u in [0, 1].
double Glide(double a, double b, double u) { return a * std::pow(b / a, std::clamp(u, 0.0, 1.0)); }
// Linear attack over attackS seconds, then exponential decay with the given time constant.
double AttackDecay(double t, double attackS, double decayS) {
    if (t < attackS) return t / attackS;
    return std::exp(-(t - attackS) / decayS);
}
// Fades the last fadeS seconds to silence so no effect ends on a click.
double EndFade(double t, double length, double fadeS) { return std::clamp((length - t) / fadeS, 0.0, 1.0); }

// ---- the effects -----------------------------------------------------------------------------

using Voice = std::function<double(double t, double length)>;

// 101: large explosion, the long one; noise that darkens as it dies and a falling low tone.
Voice BigExplosion() {
    auto noise = std::make_shared<Noise>();
    auto tone = std::make_shared<Square>();
    auto filter = std::make_shared<LowPass>();
    return [=](double t, double length) {
        const double u = t / length;
        const double crackle = noise->Next(Glide(5000, 180, std::sqrt(u)));
        const double rumble = tone->Next(Glide(90, 28, u), 0.4) * 0.35 * std::exp(-t / 1.4);
        const double body = filter->Next(crackle, Glide(3500, 250, u)) * 1.6;
        return (body + rumble) * AttackDecay(t, 0.005, 1.1) * EndFade(t, length, 0.2);
    };
}

// 102: the second layer of a large explosion (it often plays with 101): a deep thud and rolling
// low noise, kept below 101's crackle.
Voice DeepExplosion() {
    auto noise = std::make_shared<Noise>();
    auto tone = std::make_shared<Square>();
    auto filter = std::make_shared<LowPass>();
    auto thud = std::make_shared<LowPass>();
    return [=](double t, double length) {
        const double u = t / length;
        const double roll = filter->Next(noise->Next(Glide(1200, 150, u)), 600) * 2.0;
        const double boom = thud->Next(tone->Next(Glide(70, 22, std::sqrt(u))), 300) * std::exp(-t / 0.8);
        const double swell = 0.7 + 0.3 * std::sin(2 * PI * 3.0 * t) * std::exp(-t);
        return (roll * swell + boom * 1.2) * AttackDecay(t, 0.01, 0.95) * EndFade(t, length, 0.25);
    };
}

// 103: the bomb: a deep sweep rising over the whole effect, with a rushing noise underneath.
Voice BombSweep() {
    auto tone = std::make_shared<Square>();
    auto octave = std::make_shared<Square>();
    auto noise = std::make_shared<Noise>();
    auto filter = std::make_shared<LowPass>();
    return [=](double t, double length) {
        const double u = t / length;
        const double hz = Glide(45, 520, u);
        const double sweep = tone->Next(hz, 0.5) * 0.5 + octave->Next(hz * 2.01, 0.25) * 0.2;
        const double rush = filter->Next(noise->Next(Glide(800, 6000, u)), Glide(400, 3000, u)) * 0.6;
        const double level = std::min(1.0, t / 0.05) * (0.6 + 0.4 * u);
        return (sweep + rush) * level * EndFade(t, length, 0.25);
    };
}

// 104: the player's volley: light and short, it plays several times a second.
Voice Volley() {
    auto tone = std::make_shared<Square>();
    auto noise = std::make_shared<Noise>();
    return [=](double t, double length) {
        const double blip = tone->Next(Glide(1500, 520, std::min(1.0, t / 0.12)), 0.25);
        const double air = noise->Next(7000) * 0.25 * std::exp(-t / 0.015);
        return (blip * 0.55 + air) * AttackDecay(t, 0.002, 0.07) * EndFade(t, length, 0.05);
    };
}

// 105: the mid-boss warning: a two-tone siren, four times up and down.
Voice Siren() {
    auto tone = std::make_shared<Square>();
    auto upper = std::make_shared<Square>();
    return [=](double t, double length) {
        const double cycle = std::fmod(t, 0.5) / 0.5;
        const double bend = cycle < 0.5 ? cycle * 2 : 2 - cycle * 2;
        const double hz = 520 + 330 * bend;
        const double v = tone->Next(hz, 0.5) * 0.6 + upper->Next(hz * 1.5, 0.5) * 0.25;
        return v * std::min(1.0, t / 0.02) * EndFade(t, length, 0.15);
    };
}

// 106: a small explosion: a short burst of noise with a falling knock.
Voice SmallExplosion() {
    auto noise = std::make_shared<Noise>();
    auto tone = std::make_shared<Square>();
    auto filter = std::make_shared<LowPass>();
    return [=](double t, double length) {
        const double u = t / length;
        const double burst = filter->Next(noise->Next(Glide(6000, 400, std::sqrt(u))), Glide(4000, 400, u)) * 1.5;
        const double knock = tone->Next(Glide(220, 45, std::min(1.0, t / 0.3)), 0.5) * 0.4 * std::exp(-t / 0.15);
        return (burst + knock) * AttackDecay(t, 0.003, 0.3) * EndFade(t, length, 0.1);
    };
}

// 107: an enemy struck: a crisp tick of noise and a quick falling blip.
Voice Hit() {
    auto noise = std::make_shared<Noise>();
    auto tone = std::make_shared<Square>();
    return [=](double t, double length) {
        const double tick = noise->Next(9000) * std::exp(-t / 0.01);
        const double blip = tone->Next(Glide(1100, 260, std::min(1.0, t / 0.08)), 0.5) * std::exp(-t / 0.05);
        return (tick * 0.6 + blip * 0.5) * std::min(1.0, t / 0.001) * EndFade(t, length, 0.05);
    };
}

// 108: an item: a bright three-note chime.
Voice Chime() {
    auto tone = std::make_shared<Square>();
    auto shimmer = std::make_shared<Square>();
    return [=](double t, double length) {
        static constexpr double NOTES[3] = {1318.5, 1975.5, 2637.0};
        const int step = std::min(2, static_cast<int>(t / 0.06));
        const double since = t - step * 0.06;
        const double hz = NOTES[step];
        const double v = tone->Next(hz, 0.5) * 0.5 + shimmer->Next(hz * 2.0, 0.5) * 0.15;
        const double decay = step < 2 ? std::exp(-since / 0.05) : std::exp(-since / 0.12);
        return v * decay * std::min(1.0, since / 0.002) * EndFade(t, length, 0.05);
    };
}

// 109: the player's ship hit: a harsh falling buzz over noise.
Voice ShipHit() {
    auto tone = std::make_shared<Square>();
    auto detuned = std::make_shared<Square>();
    auto noise = std::make_shared<Noise>();
    return [=](double t, double length) {
        const double u = t / length;
        const double hz = Glide(700, 70, u);
        const double buzz = tone->Next(hz, 0.3) * 0.45 + detuned->Next(hz * 1.06, 0.5) * 0.3;
        const double grit = noise->Next(Glide(4000, 600, u)) * 0.45;
        return (buzz + grit) * AttackDecay(t, 0.002, 0.22) * EndFade(t, length, 0.08);
    };
}

// 110: enemy fire: a dry click that stays in the background, it plays very often.
Voice EnemyShot() {
    auto tone = std::make_shared<Square>();
    auto noise = std::make_shared<Noise>();
    return [=](double t, double length) {
        const double click = noise->Next(5000) * std::exp(-t / 0.006);
        const double pew = tone->Next(Glide(900, 300, std::min(1.0, t / 0.05)), 0.5) * std::exp(-t / 0.025);
        return (click * 0.35 + pew * 0.3) * std::min(1.0, t / 0.001) * EndFade(t, length, 0.05);
    };
}

// 111: a boss action: a heavy mechanical clank with a low, wobbling hum.
Voice BossAction() {
    auto tone = std::make_shared<Square>();
    auto noise = std::make_shared<Noise>();
    auto latch = std::make_shared<Noise>();
    auto filter = std::make_shared<LowPass>();
    return [=](double t, double length) {
        const double hum = tone->Next(140 + 25 * std::sin(2 * PI * 11 * t), 0.35) * 0.5 * std::exp(-t / 0.35);
        const double clank = filter->Next(noise->Next(3000), 1800) * 1.4 * std::exp(-t / 0.06);
        const double second = t > 0.12 ? latch->Next(2500) * 0.35 * std::exp(-(t - 0.12) / 0.05) : 0.0;
        return (hum + clank + second) * std::min(1.0, t / 0.002) * EndFade(t, length, 0.08);
    };
}

// 112: an extend: a short rising fanfare, the last note held with a little vibrato.
Voice Fanfare() {
    auto lead = std::make_shared<Square>();
    auto harmony = std::make_shared<Square>();
    return [=](double t, double length) {
        static constexpr double NOTES[4] = {1046.5, 1318.5, 1568.0, 2093.0};
        const int step = std::min(3, static_cast<int>(t / 0.075));
        const double since = t - step * 0.075;
        double hz = NOTES[step];
        if (step == 3) hz *= 1.0 + 0.008 * std::sin(2 * PI * 7 * since) * std::min(1.0, since / 0.1);
        const double v = lead->Next(hz, 0.5) * 0.5 + harmony->Next(hz * 0.75, 0.25) * 0.25;
        const double level = step < 3 ? 0.85 * std::exp(-since / 0.12) : std::exp(-since / 0.25);
        return v * level * std::min(1.0, since / 0.003) * EndFade(t, length, 0.06);
    };
}

// Peak level of each effect (of 1.0 full scale): the frequent ones sit lower.
constexpr double EFFECT_PEAKS[EFFECT_COUNT] = {0.95, 0.8, 0.8, 0.45, 0.45, 0.85, 0.6, 0.6, 0.85, 0.35, 0.7, 0.75};

Voice EffectVoice(int index) {
    switch (index) {
        case 0: return BigExplosion();
        case 1: return DeepExplosion();
        case 2: return BombSweep();
        case 3: return Volley();
        case 4: return Siren();
        case 5: return SmallExplosion();
        case 6: return Hit();
        case 7: return Chime();
        case 8: return ShipHit();
        case 9: return EnemyShot();
        case 10: return BossAction();
        default: return Fanfare();
    }
}

// The effect's samples, 8-bit unsigned (128 is silence), normalised to its peak level.
std::vector<uint8_t> Samples(int index) {
    const int count = EFFECT_BYTES[index];
    const double length = static_cast<double>(count) / RATE;
    Voice voice = EffectVoice(index);
    std::vector<double> raw(static_cast<size_t>(count));
    double peak = 1e-9;
    for (int i = 0; i < count; ++i) {
        raw[static_cast<size_t>(i)] = voice(static_cast<double>(i) / RATE, length);
        peak = std::max(peak, std::fabs(raw[static_cast<size_t>(i)]));
    }
    const double gain = EFFECT_PEAKS[index] / peak;
    std::vector<uint8_t> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double v = std::clamp(raw[static_cast<size_t>(i)] * gain, -1.0, 1.0);
        out[static_cast<size_t>(i)] = static_cast<uint8_t>(std::lround(128.0 + v * 127.0));
    }
    return out;
}

// ---- RIFF WAVE ------------------------------------------------------------------------------------

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void PutId(std::vector<uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
}

std::vector<uint8_t> Wave(int index) {
    const std::vector<uint8_t> samples = Samples(index);
    const auto n = static_cast<uint32_t>(samples.size());
    std::vector<uint8_t> b;
    PutId(b, "RIFF");
    Put32(b, 4 + (8 + 18) + (8 + 4) + (8 + n + (n & 1)));
    PutId(b, "WAVE");
    PutId(b, "fmt ");
    Put32(b, 18);
    Put16(b, 1);      // PCM
    Put16(b, 1);      // mono
    Put32(b, RATE);   // samples per second
    Put32(b, RATE);   // bytes per second
    Put16(b, 1);      // block alignment
    Put16(b, 8);      // bits per sample
    Put16(b, 0);      // no extra format bytes
    PutId(b, "fact");
    Put32(b, 4);
    Put32(b, n);      // sample count
    PutId(b, "data");
    Put32(b, n);
    for (uint8_t sample : samples) b.push_back(sample);
    if (n & 1) b.push_back(0);  // chunks are padded to even length
    return b;
}

}  // namespace

bool WriteWaveResources(const std::string& cppPath) {
    std::string src =
        "// Generated by assetgen: the twelve built-in sound effects, RIFF WAVE files by resource id.\n"
        "#include \"resources/resources.h\"\n";
    for (int i = 0; i < EFFECT_COUNT; ++i) {
        const std::vector<uint8_t> w = Wave(i);
        src += "static const uint8_t WAVE_" + std::to_string(FIRST_EFFECT + i) + "[] = {";
        for (size_t k = 0; k < w.size(); ++k) {
            if (k % 32 == 0) src += "\n";
            src += std::to_string(w[k]) + ",";
        }
        src += "};\n";
    }
    src += "const ResourceBlob g_waveResources[] = {\n";
    for (int i = 0; i < EFFECT_COUNT; ++i) {
        const std::string id = std::to_string(FIRST_EFFECT + i);
        src += "    {\"WAVE\", " + id + ", WAVE_" + id + ", sizeof(WAVE_" + id + ")},\n";
    }
    src += "};\nconst int g_waveResourceCount = " + std::to_string(EFFECT_COUNT) + ";\n";
    return WriteFileBytes(cppPath, std::vector<uint8_t>(src.begin(), src.end()));
}

bool WriteWaveFiles(const std::string& outDir) {
    for (int i = 0; i < EFFECT_COUNT; ++i) {
        if (!WriteFileBytes(outDir + "/effect" + std::to_string(FIRST_EFFECT + i) + ".wav", Wave(i))) return false;
    }
    return true;
}
