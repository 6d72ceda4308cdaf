// The sound tests' tools for listening to the game's own output (see mix_support.h).
#include "sound/mix_support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "assetgen/loudness.h"
#include "platform/audio_mix.h"
#include "sound/sound.h"
#include "test_support.h"

namespace {

constexpr int RATE = 44100;

// "101,102" -> {101, 102}
std::vector<int> Numbers(const std::string& list) {
    std::vector<int> out;
    for (size_t at = 0; at < list.size();) {
        out.push_back(std::atoi(list.c_str() + at));
        const size_t comma = list.find(',', at);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    return out;
}

// "\"stop BGM wait\",\"close BGM wait\"" -> {"stop BGM wait", "close BGM wait"}; the commands
// hold neither quotes nor commas.
std::vector<std::string> Strings(const std::string& list) {
    std::vector<std::string> out;
    for (size_t at = list.find('"'); at != std::string::npos;) {
        const size_t end = list.find('"', at + 1);
        if (end == std::string::npos) break;
        out.push_back(list.substr(at + 1, end - at - 1));
        at = list.find('"', end + 1);
    }
    return out;
}
}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string TraceValue(const std::string& line, const std::string& key) {
    const size_t from = line.find("\"" + key + "\":");
    if (from == std::string::npos) return "?";
    const size_t start = from + key.size() + 3;
    const size_t end = line[start] == '[' ? line.find(']', start) + 1 : line.find_first_of(",}", start);
    return line.substr(start, end - start);
}

long TraceNumber(const std::string& line, const std::string& key) { return std::atol(TraceValue(line, key).c_str()); }

std::vector<TraceTick> RunHeadlessGame(const std::string& keys, long ticks) {
    const std::string folder = EnterScratchDataDir();
    const std::string keysPath = folder + "/sound_run.keys";
    const std::string tracePath = folder + "/sound_run.jsonl";
    WriteWholeFile(keysPath, keys);
    RemoveRecordFiles();
    const std::string command = "cd '" + folder + "' && '" + VORNE_BINARY + "' --headless --keys '" + keysPath + "' --ticks " +
                                std::to_string(ticks) + " --trace '" + tracePath + "' 2>/dev/null";
    std::vector<TraceTick> trace;
    if (std::system(command.c_str()) != 0) return trace;
    for (const std::string& line : SplitLines(ReadWholeFile(tracePath))) {
        TraceTick t;
        t.stageFrame = static_cast<int>(TraceNumber(line, "g_stageFrame"));
        t.milliseconds = static_cast<int>(TraceNumber(line, "g_frameInterval")) + 1;
        const std::string sounds = TraceValue(line, "sounds");
        t.sounds = Numbers(sounds.substr(1, sounds.size() - 2));
        t.music = Strings(TraceValue(line, "music"));
        trace.push_back(t);
    }
    std::remove(keysPath.c_str());
    std::remove(tracePath.c_str());
    RemoveRecordFiles();
    return trace;
}

AudioMixer* MixerWithPiece(const std::vector<uint8_t>& piece, bool music, int rate) {
    const std::string folder = EnterScratchDataDir();
    WriteWholeFile(folder + "/piece.mid", std::string(piece.begin(), piece.end()));
    AudioMixer* mixer = MakeGameMixer(rate, folder.c_str(), music);
    MixerCommand(mixer, "open piece.mid alias BGM wait");
    return mixer;
}

bool SoundFontAvailable() { return MixerFindSoundFont() != nullptr; }

std::vector<int16_t> RenderTicks(AudioMixer* mixer, const std::vector<TraceTick>& trace, size_t first, size_t last) {
    std::vector<int16_t> out;
    long elapsedMs = 0;
    int64_t framesSoFar = 0;
    for (size_t i = first; i < last && i < trace.size(); ++i) {
        // The virtual clock steps before the tick runs; the tick's sounds start at its step's end.
        elapsedMs += trace[i].milliseconds;
        const int64_t frames = static_cast<int64_t>(elapsedMs) * RATE / 1000 - framesSoFar;
        framesSoFar += frames;
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(frames) * 2);
        MixerRenderTick(mixer, trace[i].sounds, trace[i].music, out.data() + at, static_cast<int>(frames));
    }
    return out;
}

// The loudness of a stretch (LUFS, K-weighted and gated), 1.0 full scale.
static double IntegratedLoudness(const std::vector<double>& left, const std::vector<double>& right, int rate) {
    // Mean squares of the K-weighted signal in blocks of 400 ms, every 100 ms.
    const std::vector<double> leftSquares = loudness::WeightedSquares(left, rate);
    const std::vector<double> rightSquares = loudness::WeightedSquares(right, rate);
    const size_t n = std::min(left.size(), right.size());
    std::vector<double> squares(n);
    for (size_t i = 0; i < n; ++i) squares[i] = leftSquares[i] + rightSquares[i];
    const size_t block = static_cast<size_t>(rate) * 4 / 10, step = block / 4;
    std::vector<double> blocks;
    for (size_t at = 0; at + block <= n; at += step) {
        double sum = 0.0;
        for (size_t i = at; i < at + block; ++i) sum += squares[i];
        blocks.push_back(sum / static_cast<double>(block));
    }
    const auto loudnessOf = [](double meanSquare) { return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-20)); };
    // Gated: first at -70 LUFS, then 10 LU under the loudness of what passed.
    double sum = 0.0;
    int count = 0;
    for (double z : blocks) {
        if (loudnessOf(z) > -70.0) sum += z, ++count;
    }
    if (count == 0) return -70.0;
    const double relative = loudnessOf(sum / count) - 10.0;
    sum = 0.0;
    count = 0;
    for (double z : blocks) {
        if (loudnessOf(z) > -70.0 && loudnessOf(z) > relative) sum += z, ++count;
    }
    return count ? loudnessOf(sum / count) : -70.0;
}

MixMeasures Measure(const std::vector<int16_t>& stereo, int rate) {
    MixMeasures m;
    const size_t frames = stereo.size() / 2, second = static_cast<size_t>(rate);
    m.seconds = static_cast<double>(frames) / rate;
    std::vector<double> left(frames), right(frames);
    double squares = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        left[i] = stereo[2 * i] / 32768.0;
        right[i] = stereo[2 * i + 1] / 32768.0;
        for (double s : {left[i], right[i]}) {
            m.clipped += std::fabs(s) >= 32767 / 32768.0;
            m.peak = std::max(m.peak, std::fabs(s));
        }
        squares += (left[i] * left[i] + right[i] * right[i]) / 2;
    }
    if (frames == 0) return m;
    m.rms = std::sqrt(squares / static_cast<double>(frames));
    for (size_t at = 0; at + second <= frames; at += second) {
        double l = 0.0, r = 0.0;
        for (size_t i = at; i < at + second; ++i) l += left[i], r += right[i];
        m.worstSecondOffset = std::max(m.worstSecondOffset, std::max(std::fabs(l), std::fabs(r)) / rate);
    }
    m.loudness = IntegratedLoudness(left, right, rate);
    return m;
}
