// The video export end to end: runs of the headless runner written to video and read back with
// FFmpeg's own demuxers and decoders.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/game.h"
#include "app/headless.h"
#include "platform/platform.h"
#include "platform/video_export.h"
#include "player/player.h"
#include "sound/midi_bytes.h"
#include "sound/mix_support.h"
#include "test_support.h"
#include "video/display.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

namespace fs = std::filesystem;

constexpr int RATE = 44100;

// What a video holds: the frames' times, the pictures asked for (RGB) and the sound (16-bit stereo).
struct Decoded {
    std::string videoCodec, audioCodec;
    int width = 0, height = 0;
    std::vector<int64_t> frameMs;
    std::vector<std::vector<uint8_t>> pictures;  // of the frames in `keep`, in order
    std::vector<int16_t> sound;
    int sampleRate = 0;
};

// RGB of a decoded picture in one of the formats our files use: 0RGB32 (the lossless video),
// YUV 4:2:0 (the lossy ones) or an 8-bit palette (screenshots). Empty for any other.
std::vector<uint8_t> ToRgb(const AVFrame* f) {
    if (f->format != AV_PIX_FMT_0RGB32 && f->format != AV_PIX_FMT_PAL8 && f->format != AV_PIX_FMT_YUV420P) return {};
    std::vector<uint8_t> rgb(static_cast<size_t>(f->width) * f->height * 3);
    const auto* palette = reinterpret_cast<const uint32_t*>(f->data[1]);
    for (int y = 0; y < f->height; ++y) {
        const uint8_t* row = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
        for (int x = 0; x < f->width; ++x) {
            uint8_t* out = &rgb[(static_cast<size_t>(y) * f->width + x) * 3];
            if (f->format == AV_PIX_FMT_PAL8) {  // palette entries are native ARGB words
                const uint32_t c = palette[row[x]];
                out[0] = static_cast<uint8_t>(c >> 16), out[1] = static_cast<uint8_t>(c >> 8), out[2] = static_cast<uint8_t>(c);
            } else if (f->format == AV_PIX_FMT_YUV420P) {  // the lossy kinds: BT.709, limited range
                const double luma = (row[x] - 16) * 255.0 / 219.0;
                const double blue = (f->data[1][(y / 2) * f->linesize[1] + x / 2] - 128) * 255.0 / 224.0;
                const double red = (f->data[2][(y / 2) * f->linesize[2] + x / 2] - 128) * 255.0 / 224.0;
                const double colour[3] = {luma + 1.5748 * red, luma - 0.1873 * blue - 0.4681 * red, luma + 1.8556 * blue};
                for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(std::clamp(std::lround(colour[c]), 0L, 255L));
            } else {  // 0RGB32 in memory: blue, green, red, unused
                out[0] = row[4 * x + 2], out[1] = row[4 * x + 1], out[2] = row[4 * x];
            }
        }
    }
    return rgb;
}

// Reads a whole video (or a PNG) with libavformat, keeping the pictures of the frames in keep.
bool Decode(const std::string& path, const std::vector<size_t>& keep, Decoded* out) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return false;
    bool ok = avformat_find_stream_info(format, nullptr) >= 0;
    AVCodecContext* codecs[2] = {nullptr, nullptr};  // video, audio
    int streams[2] = {-1, -1};
    for (int k = 0; ok && k < 2; ++k) {
        streams[k] = av_find_best_stream(format, k == 0 ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (streams[k] < 0) {
            ok = k == 1;  // a picture file has no sound
            break;
        }
        const AVCodecParameters* par = format->streams[streams[k]]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        codecs[k] = avcodec_alloc_context3(codec);
        ok = codec && avcodec_parameters_to_context(codecs[k], par) >= 0 && avcodec_open2(codecs[k], codec, nullptr) >= 0;
        (k == 0 ? out->videoCodec : out->audioCodec) = codec ? codec->name : "";
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    const auto take = [&](int k) {
        while (avcodec_receive_frame(codecs[k], frame) >= 0) {
            if (k == 0) {
                const AVRational tb = format->streams[streams[0]]->time_base;
                out->width = frame->width;
                out->height = frame->height;
                const size_t n = out->frameMs.size();
                out->frameMs.push_back(av_rescale_q(frame->best_effort_timestamp, tb, AVRational{1, 1000}));
                for (size_t want : keep) {
                    if (want == n) out->pictures.push_back(ToRgb(frame));
                }
            } else {
                out->sampleRate = frame->sample_rate;
                const auto* samples = reinterpret_cast<const int16_t*>(frame->data[0]);
                if (frame->format == AV_SAMPLE_FMT_S16) {
                    out->sound.insert(out->sound.end(), samples, samples + 2 * frame->nb_samples);
                }
            }
        }
    };
    while (ok && av_read_frame(format, packet) >= 0) {
        for (int k = 0; k < 2; ++k) {
            if (packet->stream_index == streams[k] && avcodec_send_packet(codecs[k], packet) >= 0) take(k);
        }
        av_packet_unref(packet);
    }
    for (int k = 0; ok && k < 2 && codecs[k]; ++k) {
        avcodec_send_packet(codecs[k], nullptr);
        take(k);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    for (AVCodecContext*& c : codecs) avcodec_free_context(&c);
    avformat_close_input(&format);
    return ok;
}

// A PNG written by --shot, as RGB: empty unless it is a whole 640 x 480 screen.
std::vector<uint8_t> ReadShot(const std::string& path) {
    Decoded png;
    if (!Decode(path, {0}, &png) || png.width != 640 || png.height != 480 || png.pictures.size() != 1) return {};
    return png.pictures[0];
}

// The mean difference of a channel between a video picture `scale` times the screen's size and a shot.
double MeanDifference(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& shot, int scale) {
    const int width = 640 * scale, height = 480 * scale;
    if (shot.size() != 640u * 480 * 3 || picture.size() != static_cast<size_t>(width) * height * 3) return 1e9;
    double error = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                error += std::abs(picture[(static_cast<size_t>(y) * width + x) * 3 + c] -
                                  shot[(static_cast<size_t>(y / scale) * 640 + x / scale) * 3 + c]);
            }
        }
    }
    return error / (width * height * 3.0);
}

bool HasSounds(const std::string& line) { return TraceValue(line, "sounds") != "[]"; }

// Each tick's time in the video: its clock less the first tick's. The clock steps by the frame
// interval + 1 before every tick, the interval being what the previous tick left.
std::vector<int64_t> TickTimes(const std::vector<std::string>& trace, int64_t* endMs) {
    std::vector<int64_t> times;
    int64_t clock = 0;
    long interval = 28;
    for (const std::string& line : trace) {
        if (!times.empty()) clock += interval + 1;
        times.push_back(clock);
        interval = TraceNumber(line, "g_frameInterval");
    }
    *endMs = clock + interval + 1;
    return times;
}

class VideoExport : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        dir_ = MakeRunFolder();
    }
    void TearDown() override { fs::remove_all(dir_); }

    int Run(const std::string& args, const std::string& prefix = "") { return RunHeadlessIn(dir_, args, prefix); }
    std::string Err() { return ReadWholeFile(dir_ + "/err.txt"); }
    std::vector<std::string> Lines(const std::string& name) { return SplitLines(ReadWholeFile(dir_ + "/" + name)); }
    // The files in the scratch folder that are neither data nor what the test wrote itself.
    std::vector<std::string> Written() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename();
            if (!entry.is_symlink() && name != "out.txt" && name != "err.txt" && !name.ends_with(".keys") &&
                name != "replay.rep") {
                names.push_back(name);
            }
        }
        return names;
    }
    std::string dir_;
};

TEST_F(VideoExport, LosslessFramesAreTheTicksScreensAtTheTicksTimesWithTheirSounds) {
    // Fire in bursts with the music left out (no soundfont can be read): every sound after a
    // silence is an effect the trace lists at its tick.
    WriteWholeFile(dir_ + "/bursts.keys", "1 z\n90 -\n130 z\n136 -\n180 z\n186 -\n230 z\n236 -\n280 z\n286 -\n");
    ASSERT_EQ(Run("--keys bursts.keys --ticks 300 --trace t.jsonl --video v.mkv --video-scale 2 --shot 73:a.png "
                  "--shot 200:b.png --shot 300:c.png",
                  "SDL_SOUNDFONTS=/nonexistent.sf2"),
              0)
        << Err();
    EXPECT_EQ(Err().find("video"), std::string::npos) << Err();
    const std::vector<std::string> trace = Lines("t.jsonl");
    ASSERT_EQ(trace.size(), 300u);
    Decoded video;
    ASSERT_TRUE(Decode(dir_ + "/v.mkv", {72, 199, 299}, &video));
    EXPECT_EQ(video.videoCodec, "ffv1");
    EXPECT_EQ(video.audioCodec, "flac");

    // One frame a tick, at the tick's own time on the game's clock.
    int64_t endMs = 0;
    const std::vector<int64_t> times = TickTimes(trace, &endMs);
    EXPECT_EQ(video.frameMs, times);

    // The chosen frames are the screenshots of the same ticks, each pixel a whole 2 x 2 block.
    ASSERT_EQ(video.pictures.size(), 3u);
    const char* shots[] = {"a.png", "b.png", "c.png"};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(MeanDifference(video.pictures[k], ReadShot(dir_ + "/" + shots[k]), 2), 0.0) << shots[k];
    }

    // The sound lasts exactly as long as the picture, to the sample.
    ASSERT_EQ(video.sampleRate, RATE);
    EXPECT_EQ(static_cast<int64_t>(video.sound.size() / 2), endMs * RATE / 1000);

    // Every start of sound after 30 ms of silence falls on a tick that started an effect, within
    // the limiter's 1.5 ms of look-ahead; and every effect tick after such a silence starts one.
    const auto loudest = [&](int64_t fromMs, int64_t toMs) {
        int peak = 0;
        const auto first = static_cast<size_t>(std::max<int64_t>(0, fromMs * RATE / 1000) * 2);
        const auto last = std::min(video.sound.size(), static_cast<size_t>(toMs * RATE / 1000 * 2));
        for (size_t i = first; i < last; ++i) peak = std::max(peak, std::abs(static_cast<int>(video.sound[i])));
        return peak;
    };
    int onsets = 0;
    for (size_t t = 0; t < trace.size(); ++t) {
        if (!HasSounds(trace[t]) || times[t] < 30 || loudest(times[t] - 30, times[t]) > 8) continue;
        ++onsets;
        EXPECT_GT(loudest(times[t], times[t] + 5), 300) << "no sound at tick " << t + 1;
    }
    EXPECT_GE(onsets, 3) << "the bursts should start sounds after silence";
    int64_t silentSince = 0;
    for (size_t i = 0; i < video.sound.size() / 2; ++i) {
        const int64_t ms = static_cast<int64_t>(i) * 1000 / RATE;
        const int level = std::max(std::abs(video.sound[2 * i]), std::abs(video.sound[2 * i + 1]));
        if (level <= 8) continue;
        if (ms - silentSince >= 30 && level > 300) {
            bool effect = false;
            for (size_t t = 0; t < trace.size(); ++t)
                effect = effect || (HasSounds(trace[t]) && ms - times[t] >= 0 && ms - times[t] <= 2);
            EXPECT_TRUE(effect) << "sound starts at " << ms << " ms with no effect started there";
        }
        silentSince = ms + 1;
    }
}

// The title as slow as a crowded screen makes the game (nothing on the title sets the interval
// back), twice over, then at its normal pace again.
void SlowTheTitleDown(long tick) {
    if (tick == 5) g_frameInterval = 32;
    if (tick == 30) g_frameInterval = 36;
    if (tick == 50) g_frameInterval = 28;
}

TEST_F(VideoExport, FramesLastTheirTicksWhenTheGameSlowsDown) {
    HeadlessOptions options;
    options.keysFile = dir_ + "/idle.keys";
    WriteWholeFile(options.keysFile, "1 -\n");
    options.ticks = 70;
    options.traceFile = dir_ + "/t.jsonl";
    options.videoFile = dir_ + "/v.mkv";
    options.videoKind = VIDEO_FFV1_MKV;
    options.videoScale = 1;
    options.beforeTick = SlowTheTitleDown;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    ReleaseDisplay();  // the runner sets up its own
    ASSERT_EQ(RunHeadless(options), 0);
    // The interval set before a tick's clock step is that step's (the trace shows it after).
    std::vector<int64_t> times;
    int64_t clock = 0;
    for (long tick = 1; tick <= 70; ++tick) {
        if (tick > 1) clock += tick < 5 ? 29 : tick < 30 ? 33 : tick < 50 ? 37 : 29;
        times.push_back(clock);
    }
    const int64_t endMs = clock + 29;
    ASSERT_EQ(Lines("t.jsonl").size(), 70u);
    Decoded video;
    ASSERT_TRUE(Decode(options.videoFile, {}, &video));
    EXPECT_EQ(video.frameMs, times);
    EXPECT_EQ(static_cast<int64_t>(video.sound.size() / 2), endMs * RATE / 1000);
}

// The default export (H.264 at twice the size): every screen colour in its place; and the game
// hears the music's end in time to loop it.
TEST_F(VideoExport, TheDefaultVideoShowsTheScreenAndTheGameHearsItsMusicEndInTime) {
    // A one-second piece for the ship selection: the game answers its end with "play ... from 0"
    // while it still plays, and only while a video is made (the plain runner plays no music).
    constexpr int64_t pieceMs = 1000;  // 960 ticks at 120 beats a minute
    MidiBytes piece;
    piece.Tempo(0, 120.0);
    piece.Note(0, 0, 900, 60);
    fs::remove(dir_ + "/bgm03.mid");
    ASSERT_TRUE(piece.Save(dir_ + "/bgm03.mid", 960));
    WriteWholeFile(dir_ + "/select.keys", "1 z\n80 -\n");
    ASSERT_EQ(Run("--keys select.keys --ticks 200 --trace t.jsonl --video v.mp4 --shot 150:s.png"), 0) << Err();
    Decoded video;
    ASSERT_TRUE(Decode(dir_ + "/v.mp4", {149}, &video));
    ASSERT_EQ(std::make_tuple(video.width, video.height, video.pictures.size()), std::make_tuple(1280, 960, size_t{1}));
    EXPECT_LE(MeanDifference(video.pictures[0], ReadShot(dir_ + "/s.png"), 2), 4.0);

    const std::vector<std::string> trace = Lines("t.jsonl");
    int64_t endMs = 0;
    const std::vector<int64_t> times = TickTimes(trace, &endMs);
    const std::string answer = "\"music\":[\"play BGM from 0 notify\"]";  // the window's answer, alone
    int64_t started = -1;
    int answers = 0;
    for (size_t t = 0; t < trace.size(); ++t) {
        if (trace[t].find("open bgm03.mid") != std::string::npos) {
            started = times[t];
            continue;
        }
        if (started < 0) continue;
        if (trace[t].find("open ") != std::string::npos) break;  // the ship is chosen: another piece
        if (trace[t].find(answer) == std::string::npos) continue;
        // The answer to the end of round n comes within the last 200 ms of that round.
        const int64_t end = started + (answers + 1) * pieceMs;
        EXPECT_LT(times[t], end) << "answer " << answers + 1 << " comes after the piece ended";
        EXPECT_GT(times[t], end - 200) << "answer " << answers + 1 << " comes too early";
        ++answers;
    }
    ASSERT_GE(started, 0);
    EXPECT_GE(answers, 2);

    ASSERT_EQ(Run("--keys select.keys --ticks 200 --trace plain.jsonl"), 0);
    EXPECT_EQ(ReadWholeFile(dir_ + "/plain.jsonl").find(answer), std::string::npos);
}

TEST_F(VideoExport, BadInputsSayWhatIsWrongAndLeaveNothingBehind) {
    WriteWholeFile(dir_ + "/idle.keys", "1 z\n");
    // A container the name does not tell: refused before anything starts.
    EXPECT_EQ(Run("--keys idle.keys --ticks 50 --video v.avi"), 2);
    EXPECT_NE(Err().find(".mkv"), std::string::npos) << Err();
    // No replay to watch, or one that is not a replay.
    EXPECT_EQ(Run("--watch-replay --video v.mp4"), 1);
    EXPECT_NE(Err().find("リプレイデータがありません"), std::string::npos) << Err();
    WriteWholeFile(dir_ + "/replay.rep", "not a replay at all");
    EXPECT_EQ(Run("--watch-replay --video v.mp4"), 1);
    // A folder that is not there, and a name that is a folder.
    EXPECT_EQ(Run("--keys idle.keys --ticks 50 --video missing/v.mp4"), 2);
    EXPECT_NE(Err().find("cannot write"), std::string::npos) << Err();
    fs::create_directory(dir_ + "/taken.mp4");
    EXPECT_EQ(Run("--keys idle.keys --ticks 50 --video taken.mp4"), 2);
    EXPECT_NE(Err().find("folder"), std::string::npos) << Err();
    fs::remove(dir_ + "/taken.mp4");
    // A disk that fills up (a file-size limit of 512 KB): the write fails, the run says so.
    EXPECT_EQ(Run("--keys idle.keys --ticks 2000 --video v.mkv --video-scale 1", "ulimit -f 512;"), 2);
    EXPECT_NE(Err().find("cannot write"), std::string::npos) << Err();
    EXPECT_TRUE(Written().empty()) << Written()[0];
}

// Ctrl+C five seconds into a long export: the run says so, and no video is left under its name.
TEST_F(VideoExport, AnInterruptedExportLeavesNoFileUnderItsName) {
    WriteWholeFile(dir_ + "/long.keys", "1 z\n");
    EXPECT_EQ(Run("--keys long.keys --ticks 100000 --video v.mkv", "timeout --preserve-status -s INT 5 env"), 128 + SIGINT);
    EXPECT_NE(Err().find("interrupted"), std::string::npos) << Err();
    EXPECT_TRUE(Written().empty()) << Written()[0];
}

}  // namespace
