// The twelve sound effects, synthesised: band-limited oscillators (each harmonic added up to a
// little under the Nyquist frequency, so nothing folds back), noise from a shift register, filters
// and pitch and volume envelopes, written as 8-bit mono PCM at 11025 samples a second. Each effect
// has the exact number of sample bytes the game's table gives, and is stored as a RIFF WAVE file
// with an 18-byte "fmt " chunk, a "fact" chunk and the "data" chunk. The same bytes go into the
// executable (a generated C++ source of resources) and, for listening, into effect101.wav ..
// effect112.wav. Everything is computed from integers and fixed seeds, so every build writes the
// same bytes.
//
// How they sit in the mix: every effect is balanced by its loudness (the loudest tenth of a second,
// K-weighted), not by its peak. The cues the player must not miss (the ship hit, an extend, an item,
// the bomb, a boss exploding) are the loudest; the sounds that come many times a second (the volley,
// enemy hits, enemy fire) are quiet and short: the volley is over within the three frames before it
// starts again, an enemy hit within the seventh of a second between two, so each starts from
// silence. Every effect is high-passed at synthesis, so none of them pushes the output off centre.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "assetgen.h"
#include "loudness.h"

namespace {

constexpr int RATE = 11025;
constexpr double PI = 3.14159265358979323846;
constexpr int EFFECT_COUNT = 12;
constexpr int FIRST_EFFECT = 101;
constexpr int EFFECT_BYTES[EFFECT_COUNT] = {39360, 35323, 15291, 4331, 22099, 14080, 6691, 5051, 6691, 9140, 7872, 5824};
// Harmonics are added up to this share of the sample rate (a little under the Nyquist frequency).
constexpr double HARMONIC_LIMIT = 0.45;
// The loudest an effect may peak at (of 1.0 full scale), whatever its loudness asks for.
constexpr double PEAK_LIMIT = 0.97;

// ---- generators --------------------------------------------------------------------------------

// An oscillator whose frequency may change every sample. The square and the saw are sums of
// their harmonics below HARMONIC_LIMIT, each softened by its Lanczos factor (no ringing at the
// edges), so they carry no aliased partials at any pitch.
struct Osc {
    double phase = 0.0;  // radians
    void Advance(double hz) {
        phase += 2.0 * PI * hz / RATE;
        if (phase > 2.0 * PI) phase -= 2.0 * PI;
    }
    double Sine(double hz) {
        Advance(hz);
        return std::sin(phase);
    }
    double Square(double hz) {
        Advance(hz);
        return Harmonics(hz, true) * 4.0 / PI;
    }
    double Saw(double hz) {
        Advance(hz);
        return Harmonics(hz, false) * 2.0 / PI;
    }
    // Sum of sin(k x) / k over k = 1..n (odd k only when oddOnly), through the recurrence
    // sin(k x) = 2 cos(x) sin((k - 1) x) - sin((k - 2) x).
    double Harmonics(double hz, bool oddOnly) const {
        const int n = std::max(1, static_cast<int>(HARMONIC_LIMIT * RATE / hz));
        const double twoCos = 2.0 * std::cos(phase);
        double before = 0.0, current = std::sin(phase), sum = 0.0;
        for (int k = 1; k <= n; ++k) {
            if (!oddOnly || (k & 1)) {
                const double x = PI * k / (n + 1);
                sum += current * (std::sin(x) / x) / k;
            }
            const double next = twoCos * current - before;
            before = current;
            current = next;
        }
        return sum;
    }
};

// White noise from a 15-bit shift register, held for RATE / hz samples: a lower rate gives a
// darker, rougher noise, as on the old sound chips. Smooth() glides between the held values
// instead of stepping, which takes the buzz out of low rates.
struct Noise {
    uint32_t shift = 0x4A5B;
    double hold = 0.0;
    double before = 0.0, value = 0.0;
    double Step() {
        const uint32_t bit = (shift ^ (shift >> 1)) & 1;
        shift = (shift >> 1) | (bit << 14);
        return (shift & 1) ? 1.0 : -1.0;
    }
    void Advance(double hz) {
        hold += hz / RATE;
        while (hold >= 1.0) {
            hold -= 1.0;
            before = value;
            value = Step();
        }
    }
    double Next(double hz) {
        Advance(hz);
        return value;
    }
    double Smooth(double hz) {
        Advance(hz);
        return before + (value - before) * std::min(1.0, hold);
    }
};

// One-pole low-pass filter; cutoff in Hz.
struct LowPass {
    double state = 0.0;
    double Next(double in, double cutoffHz) {
        const double a = 1.0 - std::exp(-2.0 * PI * std::min(cutoffHz, 0.49 * RATE) / RATE);
        state += a * (in - state);
        return state;
    }
};

// One-pole high-pass filter; cutoff in Hz.
struct HighPass {
    double in1 = 0.0, out1 = 0.0;
    double Next(double in, double cutoffHz) {
        const double a = std::exp(-2.0 * PI * cutoffHz / RATE);
        out1 = a * (out1 + in - in1);
        in1 = in;
        return out1;
    }
};

// A resonant band-pass (state-variable filter, trapezoidal); centre in Hz, q its sharpness.
struct BandPass {
    double s1 = 0.0, s2 = 0.0;
    double Next(double in, double centreHz, double q) {
        const double g = std::tan(PI * std::min(centreHz, 0.45 * RATE) / RATE);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k)), a2 = g * a1, a3 = g * a2;
        const double v3 = in - s2;
        const double v1 = a1 * s1 + a2 * v3;
        const double v2 = s2 + a2 * s1 + a3 * v3;
        s1 = 2.0 * v1 - s1;
        s2 = 2.0 * v2 - s2;
        return v1 * k;  // unity gain at the centre
    }
};

// Exponential glide from a to b over the whole of u in [0, 1].
double Glide(double a, double b, double u) { return a * std::pow(b / a, std::clamp(u, 0.0, 1.0)); }
// Linear attack over attackS seconds, then exponential decay with the given time constant.
double AttackDecay(double t, double attackS, double decayS) {
    if (t < attackS) return t / attackS;
    return std::exp(-(t - attackS) / decayS);
}
// 1 until fadeS seconds before end, then down to 0 at end (and after it).
double FadeBy(double t, double end, double fadeS) { return std::clamp((end - t) / fadeS, 0.0, 1.0); }
// The outline every effect is put through: v rising linearly over its first attackS seconds (so
// it starts without a click) and faded out over the last fadeS seconds before end (so it ends
// without one: the effect's length, or earlier for the short ones that must stop in time).
double Outline(double v, double t, double attackS, double end, double fadeS) {
    return v * std::min(1.0, t / attackS) * FadeBy(t, end, fadeS);
}

// ---- the effects -----------------------------------------------------------------------------
// Each effect is a voice: its generators and filters, fresh for every rendering, and what they
// make of the time t (in seconds) within an effect length seconds long.

using Voice = std::function<double(double t, double length)>;

// 101: a large explosion (a boss, the title logo landing): a crack, then a roar of noise that
// darkens as it rolls away over a falling sub tone.
struct BigExplosion {
    Noise crack, roar, wobble;
    LowPass roarFilter, roarFilter2;
    Osc sub;
    double operator()(double t, double length) {
        const double u = t / length;
        const double snap = crack.Next(RATE) * std::exp(-t / 0.015);
        const double cutoff = Glide(3200, 160, std::sqrt(u));
        const double body = roarFilter2.Next(roarFilter.Next(roar.Next(Glide(6000, 700, u)), cutoff), cutoff * 1.5);
        const double roll = 1.0 + 0.35 * wobble.Smooth(7.0);
        const double low =
            (sub.Sine(Glide(75, 30, std::min(1.0, t / 1.6))) + 0.35 * std::sin(2.0 * sub.phase)) * std::exp(-t / 0.8);
        return Outline(snap * 0.5 + body * 2.2 * roll * std::exp(-t / 1.0) + low * 0.45, t, 0.003, length, 0.4);
    }
};

// 102: the second layer of a large explosion (it plays with 101): a deep thud and a low rolling
// rumble underneath 101's roar.
struct DeepExplosion {
    Osc thud;
    Noise rumble, wobble;
    LowPass filter, filter2;
    double operator()(double t, double length) {
        const double boom = thud.Sine(Glide(110, 38, std::min(1.0, t / 0.3))) * std::exp(-t / 0.45);
        const double harmonic = std::sin(2.0 * thud.phase) * 0.3 * std::exp(-t / 0.3);
        const double low = filter2.Next(filter.Next(rumble.Smooth(Glide(1500, 300, t / length)), 500), 700);
        const double roll = 1.0 + 0.4 * wobble.Smooth(4.0);
        return Outline((boom + harmonic) * 0.8 + low * 3.0 * roll * std::exp(-t / 1.1), t, 0.004, length, 0.4);
    }
};

// 103: the bomb: it hits first (a blast and a thump from the very first sample), then a deep
// sweep rises under a rushing noise and swells as the escort comes in.
struct BombSweep {
    Noise blast, rush;
    LowPass blastFilter, sweepFilter;
    Osc thump, sweep, fifth;
    BandPass rushFilter;
    double operator()(double t, double length) {
        const double u = t / length;
        const double hit = blastFilter.Next(blast.Next(RATE), 2600) * std::exp(-t / 0.07) +
                           thump.Sine(Glide(140, 45, std::min(1.0, t / 0.12))) * std::exp(-t / 0.14) * 0.9;
        const double hz = Glide(55, 440, u);
        const double tone = sweepFilter.Next(sweep.Saw(hz) + 0.5 * fifth.Saw(hz * 1.5), Glide(400, 3500, u));
        const double air = rushFilter.Next(rush.Next(RATE), Glide(700, 3500, u), 1.5);
        const double swell = 0.25 + 0.55 * std::sin(PI * 0.5 * std::min(1.0, u / 0.7));
        return Outline(hit * 1.2 + (tone * 0.8 + air * 0.5) * swell, t, 0.002, length, 0.3);
    }
};

// 104: the player's volley: a light, short "pew" that is over within 60 ms, since it starts
// again every third frame.
struct Volley {
    Osc tone;
    Noise air;
    HighPass airFilter;
    double operator()(double t, double) {
        const double pew = tone.Square(Glide(1900, 750, std::min(1.0, t / 0.045))) * std::exp(-t / 0.016);
        const double hiss = airFilter.Next(air.Next(RATE), 2500) * std::exp(-t / 0.004);
        return Outline(pew * 0.7 + hiss * 0.4, t, 0.001, 0.060, 0.02);
    }
};

// 105: the mid-boss warning: a two-tone siren, four times up and down.
struct Siren {
    Osc tone, upper;
    LowPass filter;
    double operator()(double t, double length) {
        const double cycle = std::fmod(t, 0.5) / 0.5;
        const double bend = cycle < 0.5 ? cycle * 2 : 2 - cycle * 2;
        const double hz = 540 + 300 * bend;
        return Outline(filter.Next(tone.Square(hz) * 0.6 + upper.Square(hz * 1.5) * 0.3, 2200), t, 0.02, length, 0.15);
    }
};

// 106: a small explosion: a short burst of noise closing down, with a falling knock.
struct SmallExplosion {
    Noise noise;
    LowPass filter, filter2;
    Osc knock;
    double operator()(double t, double length) {
        const double cutoff = Glide(4500, 250, std::min(1.0, t / 0.6));
        const double burst = filter2.Next(filter.Next(noise.Next(Glide(9000, 1500, std::min(1.0, t / 0.5))), cutoff), cutoff);
        const double low = knock.Sine(Glide(190, 55, std::min(1.0, t / 0.2))) * std::exp(-t / 0.09);
        return (burst * 1.8 * AttackDecay(t, 0.002, 0.16) + low * 0.6) * FadeBy(t, length, 0.3);
    }
};

// 107 (an enemy struck) and 110 (enemy fire): a tick of band-passed noise over a short falling
// tone, both over within a tenth of a second since they come many times a second.
struct TickValues {
    double clickHz, clickQ, clickDecayS;  // the tick: band-pass centre and sharpness, decay
    bool square;                          // the tone: square or sine, falling fromHz to toHz over glideS
    double fromHz, toHz, glideS, toneDecayS;
    double clickLevel, toneLevel;
    double end, fadeS;  // silent from end on
};
// 107: a crisp tick and a quick metallic ping, over within 90 ms.
constexpr TickValues ENEMY_STRUCK = {3200, 1.2, 0.005, true, 1300, 650, 0.04, 0.018, 0.9, 0.5, 0.090, 0.03};
// 110: a dry click that stays in the background, over within 50 ms.
constexpr TickValues ENEMY_FIRE = {1800, 2.0, 0.004, false, 1000, 480, 0.03, 0.012, 0.8, 0.6, 0.050, 0.015};

struct Tick {
    TickValues v;
    Noise noise;
    BandPass click;
    Osc tone;
    explicit Tick(const TickValues& values) : v(values) {}
    double operator()(double t, double) {
        const double tick = click.Next(noise.Next(RATE), v.clickHz, v.clickQ) * std::exp(-t / v.clickDecayS);
        const double hz = Glide(v.fromHz, v.toHz, std::min(1.0, t / v.glideS));
        const double ping = (v.square ? tone.Square(hz) : tone.Sine(hz)) * std::exp(-t / v.toneDecayS);
        return Outline(tick * v.clickLevel + ping * v.toneLevel, t, 0.0005, v.end, v.fadeS);
    }
};

// 108: an item: a bright three-note chime, each note ringing on under the next.
struct Chime {
    Osc bells[3];
    double operator()(double t, double length) {
        static constexpr double NOTES[3] = {1318.5, 1975.5, 2637.0};
        static constexpr double RING[3] = {0.09, 0.09, 0.16};
        double v = 0.0;
        for (int i = 0; i < 3; ++i) {
            const double since = t - 0.055 * i;
            if (since < 0) continue;
            Osc& o = bells[i];
            o.Advance(NOTES[i]);
            double partial = std::sin(o.phase);
            if (NOTES[i] * 2 < HARMONIC_LIMIT * RATE) partial += 0.25 * std::sin(2 * o.phase);
            v += partial * std::min(1.0, since / 0.002) * std::exp(-since / RING[i]);
        }
        return v * FadeBy(t, length, 0.05);
    }
};

// 109: the player's ship hit: a harsh falling buzz over grinding noise.
struct ShipHit {
    Osc tone, detuned;
    Noise noise;
    LowPass grit;
    double operator()(double t, double length) {
        const double u = t / length;
        const double hz = Glide(620, 75, u);
        const double buzz = tone.Saw(hz) * 0.6 + detuned.Saw(hz * 1.06) * 0.45;
        const double crunch = grit.Next(noise.Next(Glide(5000, 800, u)), 2500) * 0.7;
        return std::tanh(1.6 * (buzz + crunch)) * AttackDecay(t, 0.002, 0.25) * FadeBy(t, length, 0.1);
    }
};

// 111: a boss action: a heavy mechanical clank (two metal resonances), a latch falling into
// place, and a low wobbling hum.
struct BossAction {
    Noise noise;
    BandPass metal, metal2, latch;
    Osc hum;
    LowPass humFilter;
    double operator()(double t, double length) {
        const double n = noise.Next(RATE);
        const double clank = (metal.Next(n, 1750, 9) + metal2.Next(n, 2650, 12) * 0.7) * std::exp(-t / 0.07);
        const double second = t > 0.12 ? latch.Next(n, 2300, 6) * std::exp(-(t - 0.12) / 0.04) : 0.0;
        const double drone = humFilter.Next(hum.Square(110 + 18 * std::sin(2 * PI * 9 * t)), 900) * std::exp(-t / 0.3);
        return Outline(clank * 2.0 + second * 1.3 + drone * 0.5, t, 0.001, length, 0.1);
    }
};

// 112: an extend: a short rising fanfare, the last note held with a little vibrato.
struct Fanfare {
    Osc lead, harmony;
    LowPass filter;
    double operator()(double t, double length) {
        static constexpr double NOTES[4] = {1046.5, 1318.5, 1568.0, 2093.0};
        const int step = std::min(3, static_cast<int>(t / 0.07));
        const double since = t - step * 0.07;
        double hz = NOTES[step];
        if (step == 3) hz *= 1.0 + 0.008 * std::sin(2 * PI * 6.5 * since) * std::min(1.0, since / 0.1);
        const double v = filter.Next(lead.Square(hz) * 0.6 + harmony.Sine(hz * 2.0) * 0.15, 3500);
        const double level = step < 3 ? 0.85 * (0.6 + 0.4 * std::exp(-since / 0.05)) : std::exp(-since / 0.3);
        return v * level * std::min(1.0, since / 0.003) * FadeBy(t, length, 0.08);
    }
};

// The loudness each effect is balanced to: of its loudest tenth of a second, K-weighted, in dB
// of full scale. The cues first, the frequent sounds last.
constexpr double EFFECT_LOUDNESS[EFFECT_COUNT] = {
    -9.0,   // 101 large explosion
    -13.0,  // 102 its deep layer
    -9.0,   // 103 bomb
    -23.0,  // 104 volley
    -13.0,  // 105 mid-boss warning
    -17.0,  // 106 small explosion
    -22.0,  // 107 enemy struck
    -10.0,  // 108 item
    -8.0,   // 109 ship hit
    -26.0,  // 110 enemy fire
    -15.0,  // 111 boss action
    -10.0,  // 112 extend
};

Voice EffectVoice(int index) {
    switch (index) {
        case 0: return BigExplosion{};
        case 1: return DeepExplosion{};
        case 2: return BombSweep{};
        case 3: return Volley{};
        case 4: return Siren{};
        case 5: return SmallExplosion{};
        case 6: return Tick(ENEMY_STRUCK);
        case 7: return Chime{};
        case 8: return ShipHit{};
        case 9: return Tick(ENEMY_FIRE);
        case 10: return BossAction{};
        default: return Fanfare{};
    }
}

// The effect's samples, 8-bit unsigned (128 is silence), high-passed so that they carry no offset,
// and balanced to the effect's loudness (never peaking above PEAK_LIMIT).
std::vector<uint8_t> Samples(int index) {
    const int count = EFFECT_BYTES[index];
    const double length = static_cast<double>(count) / RATE;
    Voice voice = EffectVoice(index);
    HighPass dcBlock;
    std::vector<double> raw(static_cast<size_t>(count));
    double peak = 1e-9;
    for (int i = 0; i < count; ++i) {
        const double v = dcBlock.Next(voice(static_cast<double>(i) / RATE, length), 25.0);
        raw[static_cast<size_t>(i)] = v;
        peak = std::max(peak, std::fabs(v));
    }
    const double gain =
        std::min(std::pow(10.0, (EFFECT_LOUDNESS[index] - loudness::LoudestWindowDb(raw, RATE, 0.1)) / 20.0), PEAK_LIMIT / peak);
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
    Put16(b, 1);     // PCM
    Put16(b, 1);     // mono
    Put32(b, RATE);  // samples per second
    Put32(b, RATE);  // bytes per second
    Put16(b, 1);     // block alignment
    Put16(b, 8);     // bits per sample
    Put16(b, 0);     // no extra format bytes
    PutId(b, "fact");
    Put32(b, 4);
    Put32(b, n);  // sample count
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
