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
// The frames themselves are made in video_export_frames.cpp.
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

#include "platform/audio_mix.h"
#include "platform/platform.h"
#include "platform/video_export_internal.h"

namespace {

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

// FFmpeg's own log: its errors under our name, the rest nowhere.
void ReportLibraryMessage(void*, int level, const char* format, va_list arguments) {
    if (level > AV_LOG_ERROR) return;
    char line[1024];
    std::vsnprintf(line, sizeof line, format, arguments);
    std::fprintf(stderr, "vorne: video: %s", line);
}

// ---- set-up -----------------------------------------------------------------------------------------

// A fresh context of the named encoder; nullptr when there is none (*error says so when this
// FFmpeg lacks the encoder).
AVCodecContext* NewEncoder(const char* name, std::string* error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) {
        Fail(error, std::string("this FFmpeg has no ") + name + " encoder");
        return nullptr;
    }
    return avcodec_alloc_context3(codec);
}

// Opens a set-up encoder with its options (freed here). On a failure the context is freed, *error
// says why and the result is nullptr.
AVCodecContext* StartEncoder(VideoExport* v, AVCodecContext* c, AVDictionary* options, const char* name, std::string* error) {
    if (v->format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int opened = avcodec_open2(c, c->codec, &options);
    av_dict_free(&options);
    if (opened < 0) {
        Fail(error, std::string("cannot start the ") + name + " encoder: " + AvError(opened));
        avcodec_free_context(&c);
    }
    return c;
}

AVCodecContext* OpenVideoEncoder(VideoExport* v, const KindTable& table, std::string* error) {
    AVCodecContext* c = NewEncoder(table.videoEncoder, error);
    if (!c) return nullptr;
    c->width = v->settings.width * v->settings.scale;
    c->height = v->settings.height * v->settings.scale;
    c->time_base = MILLISECONDS;
    c->framerate = NOMINAL_FRAME_RATE;
    c->sample_aspect_ratio = AVRational{1, 1};
    c->thread_count = 0;  // as many as the machine has
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
    return StartEncoder(v, c, options, table.videoEncoder, error);
}

AVCodecContext* OpenAudioEncoder(VideoExport* v, const KindTable& table, std::string* error) {
    AVCodecContext* c = NewEncoder(table.audioEncoder, error);
    if (!c) return nullptr;
    c->sample_rate = table.audioRate;
    c->time_base = AVRational{1, table.audioRate};
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&c->ch_layout, &stereo);
    // The encoder's first sample format is its own best.
    c->sample_fmt = c->codec->sample_fmts ? c->codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    if (table.kind == VIDEO_FFV1_MKV) {
        c->sample_fmt = AV_SAMPLE_FMT_S16;  // the mix's own samples, kept exactly
    } else {
        c->bit_rate = table.kind == VIDEO_VP9_WEBM ? 128000 : 192000;
    }
    AVDictionary* options = nullptr;
    if (table.kind == VIDEO_H264_MP4) av_dict_set(&options, "aac_coder", "fast", 0);
    return StartEncoder(v, c, options, table.audioEncoder, error);
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
        v->colourConverter =
            sws_getContext(512, 2, AV_PIX_FMT_0RGB32, 512, 2, AV_PIX_FMT_YUV420P, SWS_POINT, nullptr, nullptr, nullptr);
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
    return Fail(error,
                "--video cannot tell the container of '" + name + "': name it .mp4 (H.264), .webm (VP9) or .mkv (lossless FFV1)");
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
            ok = Fail(error, "cannot write " + v->settings.path + ": " + AvError(trailer < 0 ? trailer : v->format->pb->error));
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
