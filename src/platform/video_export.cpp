// The video recorder (see video_export.h), on FFmpeg's libraries: libavformat writes the
// container, libavcodec the encoders, libswscale turns the 8-bit screen into the encoders'
// YUV, libswresample brings the mix to the audio encoder's rate and sample format.
//
// Time: everything is counted on the game's own clock, in milliseconds from the first tick. A
// frame's time stamp is its tick's clock (time base 1/1000, never a rounded frame rate), and it
// lasts until the next tick, so the slow-down of a crowded screen shows as longer frames. The
// sound is rendered by the game's mixer in step: before a tick's frame is taken, the sound is
// rendered up to that tick's clock, the sample count worked out from the clock itself (not added
// up tick by tick), so over any length sound and picture end within a sample of each other.
//
// Pictures: the 640 x 480 screen (the field doubled and its side strips) in its palette, every
// pixel scaled to scale x scale. Lossless files keep the exact colours as RGB; the others are YUV
// 4:2:0, the palette's 256 colours converted by libswscale and the screen then looked up pixel by
// pixel (a tenth of the time a whole-picture conversion takes); at the default scale of 2 exactly
// one screen pixel lies under every chroma sample.
//
// Encoders, chosen to run many times faster than the game on one core of a small machine:
// H.264 with x264's "ultrafast" preset at constant quality; VP9 with libvpx in its real-time
// mode; FFV1 version 3 with slices. Sound: AAC, Opus (at 48 kHz, its own rate) or FLAC.
#include "platform/video_export.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/audio_mix.h"
#include "platform/platform.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int MIX_RATE = 44100;  // the game's own output rate
constexpr int MIX_CHUNK = 4096;  // frames rendered in one go
// The game's notification of a piece's end reaches it only after the tick in which the sound
// came near the end has been rendered, and its answer sounds from the tick after that: two ticks
// of the slowest kind (37 ms) and a mixing block.
constexpr int EXPORT_NOTIFY_LEAD_MS = 120;
// Ticks run about 29 ms: the rate the encoders plan their bits for.
constexpr AVRational NOMINAL_FRAME_RATE = {1000, 29};
constexpr AVRational MILLISECONDS = {1, 1000};

struct KindTable {
    VideoKind kind;
    const char* extension;
    const char* muxer;
    const char* videoEncoder;
    const char* audioEncoder;
    int audioRate;
};

constexpr KindTable KINDS[] = {
    {VIDEO_H264_MP4, ".mp4", "mp4", "libx264", "aac", MIX_RATE},
    {VIDEO_VP9_WEBM, ".webm", "webm", "libvpx-vp9", "libopus", 48000},
    {VIDEO_FFV1_MKV, ".mkv", "matroska", "ffv1", "flac", MIX_RATE},
};

const KindTable& TableOf(VideoKind kind) {
    for (const KindTable& t : KINDS) {
        if (t.kind == kind) return t;
    }
    return KINDS[0];
}

// ---- interruption ------------------------------------------------------------------------------

volatile sig_atomic_t g_interruptSignal = 0;
struct sigaction g_oldInterrupt, g_oldTerminate, g_oldHangUp, g_oldFileSize;
int g_openExports = 0;

void NoteInterrupt(int signal) { g_interruptSignal = signal; }

void CatchInterrupts() {
    if (g_openExports++ > 0) return;
    g_interruptSignal = 0;
    struct sigaction catcher {};
    catcher.sa_handler = NoteInterrupt;
    sigemptyset(&catcher.sa_mask);
    sigaction(SIGINT, &catcher, &g_oldInterrupt);
    sigaction(SIGTERM, &catcher, &g_oldTerminate);
    sigaction(SIGHUP, &catcher, &g_oldHangUp);
    // Past a file-size limit a write fails with EFBIG and the export says so, instead of the
    // program being killed with its temporary file left behind.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &g_oldFileSize);
}

void ReleaseInterrupts() {
    if (--g_openExports > 0) return;
    sigaction(SIGINT, &g_oldInterrupt, nullptr);
    sigaction(SIGTERM, &g_oldTerminate, nullptr);
    sigaction(SIGHUP, &g_oldHangUp, nullptr);
    sigaction(SIGXFSZ, &g_oldFileSize, nullptr);
}

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// FFmpeg's own log: its errors under our name, the rest nowhere.
void ReportLibraryMessage(void*, int level, const char* format, va_list arguments) {
    if (level > AV_LOG_ERROR) return;
    char line[1024];
    std::vsnprintf(line, sizeof line, format, arguments);
    std::fprintf(stderr, "vorne: video: %s", line);
}

}  // namespace

struct VideoExport {
    VideoExportSettings settings;
    std::string tempPath;
    AudioMixer* mixer = nullptr;

    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVStream* videoStream = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* audioStream = nullptr;
    AVPacket* packet = nullptr;

    // The picture of the last tick, held until the next tick says how long it lasts.
    AVFrame* picture = nullptr;
    bool pictureHeld = false;
    int64_t pictureMs = 0;
    uint32_t palette[256] = {};    // 0RGB of the screen's palette, as FFV1 takes it
    // Lossy kinds: the palette's colours in YUV (worked out by libswscale when the palette
    // changes) and, for each picture column and row, the screen column and row it shows.
    SwsContext* colourConverter = nullptr;
    bool tableValid = false;
    uint8_t lumaOf[256] = {}, blueOf[256] = {}, redOf[256] = {};
    uint16_t lumaPairOf[256] = {};  // two picture pixels' luma at once, for the default scale
    std::vector<int> sourceColumn, sourceRow;
    std::map<int64_t, int64_t> durations;  // time stamp -> duration of the frames in the encoder

    // The sound: the mixer's frames rendered so far, and the encoder's side.
    bool clockStarted = false;
    uint32_t lastClock = 0;
    int64_t elapsedMs = 0;        // on the game's clock since the first tick
    int64_t mixedFrames = 0;
    std::vector<int16_t> mix;
    SwrContext* resampler = nullptr;
    uint8_t** converted = nullptr;  // the resampler's output, room for convertedRoom samples
    int convertedRoom = 0;
    AVAudioFifo* fifo = nullptr;
    AVFrame* audioFrame = nullptr;
    int64_t audioSamples = 0;     // sent to the encoder, at its rate
    // Added to the sound's time stamps: this FFmpeg's Matroska writer stores Opus packets at the
    // time the encoder gives them, which reaches back over the encoder's delay, and declares the
    // delay, which readers then take off once more. Handed over that much later, the sound
    // starts with the picture.
    int64_t audioOffset = 0;
};

namespace {

bool Fail(std::string* error, const std::string& why) {
    *error = why;
    return false;
}

// ---- packets --------------------------------------------------------------------------------------

// Takes every packet the encoder has ready and writes it. False on a write error.
bool DrainEncoder(VideoExport* v, AVCodecContext* codec, AVStream* stream, std::string* error) {
    for (;;) {
        const int got = avcodec_receive_packet(codec, v->packet);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
        if (got < 0) return Fail(error, "the encoder failed: " + AvError(got));
        if (codec == v->video) {
            const auto known = v->durations.find(v->packet->pts);
            if (known != v->durations.end()) {
                v->packet->duration = known->second;
                v->durations.erase(known);
            }
        }
        av_packet_rescale_ts(v->packet, codec->time_base, stream->time_base);
        v->packet->stream_index = stream->index;
        const int wrote = av_interleaved_write_frame(v->format, v->packet);
        if (wrote < 0 || v->format->pb->error < 0) {
            return Fail(error, "cannot write " + v->settings.path + ": " + AvError(wrote < 0 ? wrote : v->format->pb->error));
        }
    }
}

bool SendFrame(VideoExport* v, AVCodecContext* codec, AVStream* stream, const AVFrame* frame, std::string* error) {
    const int sent = avcodec_send_frame(codec, frame);
    if (sent < 0) return Fail(error, "the encoder refused a frame: " + AvError(sent));
    return DrainEncoder(v, codec, stream, error);
}

// ---- pictures -------------------------------------------------------------------------------------

// The YUV of the 256 palette colours: libswscale converts a picture of them, each colour a
// 2 x 2 block so that its chroma sample is its own, with the ITU-R BT.709 matrix in limited range.
bool MakeColourTable(VideoExport* v, std::string* error) {
    constexpr int WIDTH = 512, HEIGHT = 2;
    uint32_t colours[HEIGHT][WIDTH];
    for (int i = 0; i < 256; ++i) {
        for (int y = 0; y < HEIGHT; ++y) colours[y][2 * i] = colours[y][2 * i + 1] = v->palette[i];
    }
    uint8_t luma[HEIGHT][WIDTH], blue[WIDTH / 2], red[WIDTH / 2];
    const uint8_t* in[4] = {reinterpret_cast<const uint8_t*>(colours), nullptr, nullptr, nullptr};
    const int inStride[4] = {WIDTH * 4, 0, 0, 0};
    uint8_t* out[4] = {&luma[0][0], blue, red, nullptr};
    const int outStride[4] = {WIDTH, WIDTH / 2, WIDTH / 2, 0};
    if (sws_scale(v->colourConverter, in, inStride, 0, HEIGHT, out, outStride) != HEIGHT) {
        return Fail(error, "cannot convert the palette's colours");
    }
    for (int i = 0; i < 256; ++i) {
        v->lumaOf[i] = luma[0][2 * i];
        v->lumaPairOf[i] = static_cast<uint16_t>(luma[0][2 * i] * 0x0101);
        v->blueOf[i] = blue[i];
        v->redOf[i] = red[i];
    }
    v->tableValid = true;
    return true;
}

// The screen into YUV 4:2:0 at the picture's size, every screen pixel scale x scale (lossy
// kinds).
void ConvertScreen(VideoExport* v, const uint8_t* pixels, int pitch) {
    AVFrame* f = v->picture;
    const int width = f->width, height = f->height;
    const int scale = v->settings.scale;
    if (scale == 2) {
        // The default: each screen pixel is one chroma sample and two pixels on each of two luma
        // rows, so one pass over the screen fills all three planes. The export spends a good part
        // of its own time here.
        for (int y = 0; y < height / 2; ++y) {
            const uint8_t* from = pixels + static_cast<ptrdiff_t>(y) * pitch;
            uint8_t* to = f->data[0] + static_cast<ptrdiff_t>(2 * y) * f->linesize[0];
            uint8_t* u = f->data[1] + static_cast<ptrdiff_t>(y) * f->linesize[1];
            uint8_t* r = f->data[2] + static_cast<ptrdiff_t>(y) * f->linesize[2];
            for (int x = 0; x < width / 2; ++x) {
                const uint8_t index = from[x];
                std::memcpy(to + 2 * x, &v->lumaPairOf[index], 2);
                u[x] = v->blueOf[index];
                r[x] = v->redOf[index];
            }
            std::memcpy(to + f->linesize[0], to, static_cast<size_t>(width));
        }
        return;
    }
    const int* column = v->sourceColumn.data();
    for (int y = 0; y < height; ++y) {
        uint8_t* to = f->data[0] + static_cast<ptrdiff_t>(y) * f->linesize[0];
        if (y % scale != 0) {
            std::memcpy(to, to - f->linesize[0], static_cast<size_t>(width));
            continue;
        }
        const uint8_t* from = pixels + static_cast<ptrdiff_t>(v->sourceRow[static_cast<size_t>(y)]) * pitch;
        for (int x = 0; x < width; ++x) to[x] = v->lumaOf[from[column[x]]];
    }
    // A chroma sample covers 2 x 2 picture pixels: at an odd scale up to four screen pixels, whose
    // values it averages.
    for (int cy = 0; cy < height / 2; ++cy) {
        const uint8_t* upper = pixels + static_cast<ptrdiff_t>(v->sourceRow[static_cast<size_t>(2 * cy)]) * pitch;
        const uint8_t* lower = pixels + static_cast<ptrdiff_t>(v->sourceRow[static_cast<size_t>(2 * cy + 1)]) * pitch;
        uint8_t* u = f->data[1] + static_cast<ptrdiff_t>(cy) * f->linesize[1];
        uint8_t* r = f->data[2] + static_cast<ptrdiff_t>(cy) * f->linesize[2];
        for (int cx = 0; cx < width / 2; ++cx) {
            const uint8_t a = upper[column[2 * cx]], b = upper[column[2 * cx + 1]];
            const uint8_t c = lower[column[2 * cx]], d = lower[column[2 * cx + 1]];
            u[cx] = static_cast<uint8_t>((v->blueOf[a] + v->blueOf[b] + v->blueOf[c] + v->blueOf[d] + 2) >> 2);
            r[cx] = static_cast<uint8_t>((v->redOf[a] + v->redOf[b] + v->redOf[c] + v->redOf[d] + 2) >> 2);
        }
    }
}

// Every screen pixel to scale x scale pixels of its colour, as 0RGB words (lossless kind).
void ExpandScreen(VideoExport* v, const uint8_t* pixels, int pitch) {
    const int scale = v->settings.scale;
    const int width = v->settings.width;
    uint8_t* base = v->picture->data[0];
    const int stride = v->picture->linesize[0];
    for (int y = 0; y < v->settings.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(base + static_cast<ptrdiff_t>(y) * scale * stride);
        const uint8_t* from = pixels + static_cast<ptrdiff_t>(y) * pitch;
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = v->palette[from[x]];
            for (int k = 0; k < scale; ++k) row[x * scale + k] = colour;
        }
        for (int k = 1; k < scale; ++k) {
            std::memcpy(reinterpret_cast<uint8_t*>(row) + static_cast<ptrdiff_t>(k) * stride, row,
                        static_cast<size_t>(width) * scale * 4);
        }
    }
}

// The screen into the held picture.
bool TakePicture(VideoExport* v, const Surface* screen, std::string* error) {
    const int ready = av_frame_make_writable(v->picture);
    if (ready < 0) return Fail(error, "no memory for a picture: " + AvError(ready));
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(screen, &pitch);
    const PaletteEntry* entries = PlatGetPalette(screen);
    for (int i = 0; i < 256; ++i) {
        const uint32_t colour = static_cast<uint32_t>(entries[i].red) << 16 |
                                static_cast<uint32_t>(entries[i].green) << 8 | entries[i].blue;
        if (colour != v->palette[i]) v->tableValid = false;
        v->palette[i] = colour;
    }
    if (v->settings.kind == VIDEO_FFV1_MKV) {
        ExpandScreen(v, pixels, pitch);
        return true;
    }
    if (!v->tableValid && !MakeColourTable(v, error)) return false;
    ConvertScreen(v, pixels, pitch);
    return true;
}

// Sends the held picture, which lasts until untilMs.
bool SendPicture(VideoExport* v, int64_t untilMs, std::string* error) {
    if (!v->pictureHeld) return true;
    v->pictureHeld = false;
    v->picture->pts = v->pictureMs;
    v->durations[v->pictureMs] = std::max<int64_t>(1, untilMs - v->pictureMs);
    return SendFrame(v, v->video, v->videoStream, v->picture, error);
}

// ---- sound ----------------------------------------------------------------------------------------

// Passes whole encoder frames from the queue to the encoder; with last, the rest as well.
bool SendAudioFrames(VideoExport* v, bool last, std::string* error) {
    const int size = v->audio->frame_size > 0 ? v->audio->frame_size : 1024;
    while (av_audio_fifo_size(v->fifo) >= size || (last && av_audio_fifo_size(v->fifo) > 0)) {
        const int count = std::min(size, av_audio_fifo_size(v->fifo));
        AVFrame* f = v->audioFrame;
        av_frame_unref(f);
        f->nb_samples = count;
        f->format = v->audio->sample_fmt;
        f->sample_rate = v->audio->sample_rate;
        if (av_channel_layout_copy(&f->ch_layout, &v->audio->ch_layout) < 0 || av_frame_get_buffer(f, 0) < 0) {
            return Fail(error, "no memory for the sound");
        }
        av_audio_fifo_read(v->fifo, reinterpret_cast<void**>(f->data), count);
        f->pts = v->audioSamples + v->audioOffset;
        v->audioSamples += count;
        if (!SendFrame(v, v->audio, v->audioStream, f, error)) return false;
    }
    return true;
}

void FreeConverted(VideoExport* v) {
    if (v->converted) av_freep(&v->converted[0]);
    av_freep(&v->converted);
    v->convertedRoom = 0;
}

// Converts mixer frames (nullptr: what the resampler still holds) into the encoder's queue.
bool QueueSound(VideoExport* v, const int16_t* stereo, int frames, std::string* error) {
    const int room = swr_get_out_samples(v->resampler, frames);
    if (room < 0) return Fail(error, "the resampler failed");
    if (room > v->convertedRoom) {
        FreeConverted(v);
        if (av_samples_alloc_array_and_samples(&v->converted, nullptr, v->audio->ch_layout.nb_channels, room,
                                               v->audio->sample_fmt, 0) < 0) {
            return Fail(error, "no memory for the sound");
        }
        v->convertedRoom = room;
    }
    if (room > 0) {
        const auto* in = reinterpret_cast<const uint8_t*>(stereo);
        const int got = swr_convert(v->resampler, v->converted, room, stereo ? &in : nullptr, frames);
        if (got < 0 || av_audio_fifo_write(v->fifo, reinterpret_cast<void**>(v->converted), got) != got) {
            return Fail(error, "the resampler failed");
        }
    }
    return SendAudioFrames(v, false, error);
}

// Renders the mix up to untilMs on the game's clock and encodes it.
bool RenderSoundUntil(VideoExport* v, int64_t untilMs, std::string* error) {
    const int64_t target = untilMs * MIX_RATE / 1000;
    while (v->mixedFrames < target) {
        const int frames = static_cast<int>(std::min<int64_t>(MIX_CHUNK, target - v->mixedFrames));
        v->mix.resize(static_cast<size_t>(frames) * 2);
        MixerRender(v->mixer, v->mix.data(), frames);
        v->mixedFrames += frames;
        if (!QueueSound(v, v->mix.data(), frames, error)) return false;
    }
    return true;
}

// ---- set-up -----------------------------------------------------------------------------------------

AVCodecContext* OpenVideoEncoder(VideoExport* v, const KindTable& table, std::string* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(table.videoEncoder);
    if (!codec) {
        Fail(error, std::string("this FFmpeg has no ") + table.videoEncoder + " encoder");
        return nullptr;
    }
    AVCodecContext* c = avcodec_alloc_context3(codec);
    if (!c) return nullptr;
    c->width = v->settings.width * v->settings.scale;
    c->height = v->settings.height * v->settings.scale;
    c->time_base = MILLISECONDS;
    c->framerate = NOMINAL_FRAME_RATE;
    c->sample_aspect_ratio = AVRational{1, 1};
    c->thread_count = 0;  // as many as the machine has
    if (v->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (table.kind == VIDEO_FFV1_MKV) {
        c->pix_fmt = AV_PIX_FMT_0RGB32;
        c->level = 3;
        c->gop_size = 1;  // every frame stands alone: a damaged file loses single frames
        av_dict_set(&options, "slices", "4", 0);
        av_dict_set(&options, "slicecrc", "1", 0);
    } else {
        // The screen's sRGB colours in ITU-R BT.709 YUV, limited range, said so in the stream so
        // that players show them as they are.
        c->pix_fmt = AV_PIX_FMT_YUV420P;
        c->color_range = AVCOL_RANGE_MPEG;
        c->colorspace = AVCOL_SPC_BT709;
        c->color_primaries = AVCOL_PRI_BT709;
        c->color_trc = AVCOL_TRC_IEC61966_2_1;
        c->gop_size = 300;  // a key frame every ten seconds or so, for seeking
        if (table.kind == VIDEO_H264_MP4) {
            // x264's fastest analysis: its speed hardly depends on the quality asked for, and at
            // this quality the pixel art stays crisp (about 2.5 Mbit/s).
            av_dict_set(&options, "preset", "ultrafast", 0);
            av_dict_set(&options, "crf", "20", 0);
        } else {
            c->bit_rate = 0;  // constant quality
            av_dict_set(&options, "deadline", "realtime", 0);
            av_dict_set(&options, "cpu-used", "8", 0);
            av_dict_set(&options, "static-thresh", "100", 0);  // still blocks (the side strips) skipped
            av_dict_set(&options, "aq-mode", "0", 0);
            av_dict_set(&options, "crf", "32", 0);
            av_dict_set(&options, "row-mt", "1", 0);
            av_dict_set(&options, "tile-columns", "2", 0);
            av_dict_set(&options, "lag-in-frames", "0", 0);
        }
    }
    const int opened = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    if (opened < 0) {
        Fail(error, std::string("cannot start the ") + table.videoEncoder + " encoder: " + AvError(opened));
        avcodec_free_context(&c);
    }
    return c;
}

AVCodecContext* OpenAudioEncoder(VideoExport* v, const KindTable& table, std::string* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(table.audioEncoder);
    if (!codec) {
        Fail(error, std::string("this FFmpeg has no ") + table.audioEncoder + " encoder");
        return nullptr;
    }
    AVCodecContext* c = avcodec_alloc_context3(codec);
    if (!c) return nullptr;
    c->sample_rate = table.audioRate;
    c->time_base = AVRational{1, table.audioRate};
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&c->ch_layout, &stereo);
    // The encoder's first sample format is its own best.
    c->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    if (table.kind == VIDEO_FFV1_MKV) {
        c->sample_fmt = AV_SAMPLE_FMT_S16;  // the mix's own samples, kept exactly
    } else {
        c->bit_rate = table.kind == VIDEO_VP9_WEBM ? 128000 : 192000;
    }
    if (v->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (table.kind == VIDEO_H264_MP4) av_dict_set(&options, "aac_coder", "fast", 0);
    const int opened = avcodec_open2(c, codec, &options);
    av_dict_free(&options);
    if (opened < 0) {
        Fail(error, std::string("cannot start the ") + table.audioEncoder + " encoder: " + AvError(opened));
        avcodec_free_context(&c);
    }
    return c;
}

AVStream* AddStream(VideoExport* v, AVCodecContext* codec) {
    AVStream* stream = avformat_new_stream(v->format, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, codec) < 0) return nullptr;
    stream->time_base = codec->time_base;
    return stream;
}

// The temporary name beside the final one: "NAME.XXXXXX.part", created now so that a folder
// that cannot be written is found before any work, and no other run can take the same name.
bool CreateTemporary(VideoExport* v, std::string* error) {
    std::string pattern = v->settings.path + ".XXXXXX.part";
    const int fd = mkstemps(pattern.data(), 5);
    if (fd < 0) return Fail(error, "cannot write " + v->settings.path + ": " + std::strerror(errno));
    // The finished file is readable as any file the user makes (mkstemps gives 0600).
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);
    v->tempPath = pattern;
    return true;
}

bool OpenOutput(VideoExport* v, std::string* error) {
    const KindTable& table = TableOf(v->settings.kind);
    av_log_set_callback(ReportLibraryMessage);
    struct stat info {};
    if (stat(v->settings.path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return Fail(error, "cannot write " + v->settings.path + ": it is a folder");
    }
    if (avformat_alloc_output_context2(&v->format, nullptr, table.muxer, nullptr) < 0 || !v->format) {
        return Fail(error, std::string("this FFmpeg cannot write ") + table.muxer);
    }
    v->video = OpenVideoEncoder(v, table, error);
    if (!v->video) return false;
    v->audio = OpenAudioEncoder(v, table, error);
    if (!v->audio) return false;
    v->videoStream = AddStream(v, v->video);
    v->audioStream = AddStream(v, v->audio);
    v->packet = av_packet_alloc();
    v->picture = av_frame_alloc();
    v->audioFrame = av_frame_alloc();
    if (!v->videoStream || !v->audioStream || !v->packet || !v->picture || !v->audioFrame) {
        return Fail(error, "no memory for the video");
    }
    v->picture->format = v->video->pix_fmt;
    v->picture->width = v->video->width;
    v->picture->height = v->video->height;
    if (av_frame_get_buffer(v->picture, 0) < 0) return Fail(error, "no memory for a picture");
    if (table.kind != VIDEO_FFV1_MKV) {
        v->colourConverter = sws_getContext(512, 2, AV_PIX_FMT_0RGB32, 512, 2, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr,
                                            nullptr, nullptr);
        if (!v->colourConverter) return Fail(error, "cannot convert the screen's colours");
        const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
        sws_setColorspaceDetails(v->colourConverter, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
        for (int x = 0; x < v->video->width; ++x) v->sourceColumn.push_back(x / v->settings.scale);
        for (int y = 0; y < v->video->height; ++y) v->sourceRow.push_back(y / v->settings.scale);
    }
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;  // not const: swresample takes it so
    if (swr_alloc_set_opts2(&v->resampler, &v->audio->ch_layout, v->audio->sample_fmt, v->audio->sample_rate, &stereo,
                            AV_SAMPLE_FMT_S16, MIX_RATE, 0, nullptr) < 0 ||
        swr_init(v->resampler) < 0) {
        return Fail(error, "cannot convert the sound");
    }
    if (table.kind == VIDEO_VP9_WEBM) v->audioOffset = v->audio->initial_padding;
    v->fifo = av_audio_fifo_alloc(v->audio->sample_fmt, v->audio->ch_layout.nb_channels, 8192);
    if (!v->fifo) return Fail(error, "no memory for the sound");

    if (!CreateTemporary(v, error)) return false;
    // The muxer reopens the file by this name to move the MP4 index to the front.
    av_freep(&v->format->url);
    v->format->url = av_strdup(v->tempPath.c_str());
    const int opened = avio_open(&v->format->pb, v->tempPath.c_str(), AVIO_FLAG_WRITE);
    if (opened < 0) return Fail(error, "cannot write " + v->tempPath + ": " + AvError(opened));
    AVDictionary* options = nullptr;
    // MP4: the index goes to the front at the end, so a player can start before it has it all.
    if (table.kind == VIDEO_H264_MP4) av_dict_set(&options, "movflags", "+faststart", 0);
    const int header = avformat_write_header(v->format, &options);
    av_dict_free(&options);
    if (header < 0) return Fail(error, "cannot write " + v->settings.path + ": " + AvError(header));
    return true;
}

void Free(VideoExport* v) {
    if (v->format && v->format->pb) avio_closep(&v->format->pb);
    avformat_free_context(v->format);
    avcodec_free_context(&v->video);
    avcodec_free_context(&v->audio);
    av_packet_free(&v->packet);
    av_frame_free(&v->picture);
    av_frame_free(&v->audioFrame);
    sws_freeContext(v->colourConverter);
    swr_free(&v->resampler);
    FreeConverted(v);
    if (v->fifo) av_audio_fifo_free(v->fifo);
    MixerDestroy(v->mixer);
    delete v;
}

}  // namespace

bool VideoKindFromName(const std::string& path, bool lossless, VideoKind* kind, std::string* error) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
    for (const KindTable& t : KINDS) {
        if (strcasecmp(extension.c_str(), t.extension) != 0) continue;
        if (lossless && t.kind != VIDEO_FFV1_MKV) {
            return Fail(error, "--video-lossless writes Matroska: name the file .mkv, not '" + name + "'");
        }
        *kind = t.kind;
        return true;
    }
    return Fail(error, "--video cannot tell the container of '" + name +
                           "': name it .mp4 (H.264), .webm (VP9) or .mkv (lossless FFV1)");
}

VideoExport* VideoExportOpen(const VideoExportSettings& settings, AudioMixer* mixer, std::string* error) {
    auto* v = new VideoExport;
    v->settings = settings;
    v->mixer = mixer;
    if (settings.scale < 1 || settings.width <= 0 || settings.height <= 0) {
        Fail(error, "a video needs a screen and a scale of 1 or more");
        Free(v);
        return nullptr;
    }
    if (!OpenOutput(v, error)) {
        if (!v->tempPath.empty()) std::remove(v->tempPath.c_str());
        Free(v);
        return nullptr;
    }
    MixerSetNotifyLead(mixer, EXPORT_NOTIFY_LEAD_MS);
    MixerSetVolume(mixer, settings.musicVolume, settings.effectsVolume, settings.mute);
    CatchInterrupts();
    return v;
}

bool VideoExportTick(VideoExport* v, const Surface* screen, uint32_t clockMs, const std::vector<int>& sounds,
                     const std::vector<std::string>& music, std::string* error) {
    // The clock wraps at 2^32 milliseconds; its steps do not.
    if (v->clockStarted) v->elapsedMs += static_cast<uint32_t>(clockMs - v->lastClock);
    v->clockStarted = true;
    v->lastClock = clockMs;
    if (!RenderSoundUntil(v, v->elapsedMs, error)) return false;
    if (!SendPicture(v, v->elapsedMs, error)) return false;
    for (int id : sounds) MixerStartEffect(v->mixer, id);
    for (const std::string& command : music) MixerCommand(v->mixer, command.c_str());
    if (!TakePicture(v, screen, error)) return false;
    v->pictureHeld = true;
    v->pictureMs = v->elapsedMs;
    return true;
}

bool VideoExportTakeEndOfPiece(VideoExport* v) { return MixerTakeEndOfPiece(v->mixer); }

bool VideoExportFinish(VideoExport* v, uint32_t endMs, std::string* error) {
    const int64_t end = v->clockStarted ? v->elapsedMs + static_cast<uint32_t>(endMs - v->lastClock) : 0;
    bool ok = RenderSoundUntil(v, end, error) && SendPicture(v, end, error) && QueueSound(v, nullptr, 0, error) &&
              SendAudioFrames(v, true, error) && SendFrame(v, v->video, v->videoStream, nullptr, error) &&
              SendFrame(v, v->audio, v->audioStream, nullptr, error);
    if (ok) {
        const int trailer = av_write_trailer(v->format);
        if (trailer < 0 || v->format->pb->error < 0) {
            ok = Fail(error, "cannot write " + v->settings.path + ": " +
                                 AvError(trailer < 0 ? trailer : v->format->pb->error));
        }
    }
    if (ok) {
        const int closed = avio_closep(&v->format->pb);
        if (closed < 0) ok = Fail(error, "cannot write " + v->settings.path + ": " + AvError(closed));
    }
    if (ok) {
        // On the disk before it takes the final name, so a crash leaves either nothing or all.
        const int fd = open(v->tempPath.c_str(), O_RDONLY);
        if (fd < 0 || fsync(fd) != 0) ok = Fail(error, "cannot write " + v->settings.path + ": " + std::strerror(errno));
        if (fd >= 0) close(fd);
    }
    if (ok && std::rename(v->tempPath.c_str(), v->settings.path.c_str()) != 0) {
        ok = Fail(error, "cannot write " + v->settings.path + ": " + std::strerror(errno));
    }
    if (!ok) std::remove(v->tempPath.c_str());
    ReleaseInterrupts();
    Free(v);
    return ok;
}

void VideoExportDiscard(VideoExport* v) {
    if (!v) return;
    if (v->format && v->format->pb) avio_closep(&v->format->pb);
    std::remove(v->tempPath.c_str());
    ReleaseInterrupts();
    Free(v);
}

bool VideoExportInterrupted() { return g_interruptSignal != 0; }

int VideoExportInterruptSignal() { return g_interruptSignal; }
