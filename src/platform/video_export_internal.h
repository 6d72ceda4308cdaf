// Private to the video recorder (video_export.cpp, video_export_frames.cpp): the export's
// record, FFmpeg's headers, and how its pictures and sound reach the encoders.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/video_export.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

inline constexpr int MIX_RATE = 44100;  // the game's own output rate
inline constexpr int MIX_CHUNK = 4096;  // frames rendered in one go

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
    uint32_t palette[256] = {};  // 0RGB of the screen's palette, as FFV1 takes it
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
    int64_t elapsedMs = 0;  // on the game's clock since the first tick
    int64_t mixedFrames = 0;
    std::vector<int16_t> mix;
    SwrContext* resampler = nullptr;
    uint8_t** converted = nullptr;  // the resampler's output, room for convertedRoom samples
    int convertedRoom = 0;
    AVAudioFifo* fifo = nullptr;
    AVFrame* audioFrame = nullptr;
    int64_t audioSamples = 0;  // sent to the encoder, at its rate
    // Added to the sound's time stamps: this FFmpeg's Matroska writer stores Opus packets at the
    // time the encoder gives them, which reaches back over the encoder's delay, and declares the
    // delay, which readers then take off once more. Handed over that much later, the sound
    // starts with the picture.
    int64_t audioOffset = 0;
};

// Sets *error to why and returns false.
inline bool Fail(std::string* error, const std::string& why) {
    *error = why;
    return false;
}

inline std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// ---- frames to the encoders (video_export_frames.cpp); each false with *error on a failure

// Sends one frame (nullptr: the end of the stream) and writes the packets the encoder has ready.
bool SendFrame(VideoExport* v, AVCodecContext* codec, AVStream* stream, const AVFrame* frame, std::string* error);
// The screen into the held picture.
bool TakePicture(VideoExport* v, const Surface* screen, std::string* error);
// Sends the held picture, which lasts until untilMs.
bool SendPicture(VideoExport* v, int64_t untilMs, std::string* error);
// Passes whole encoder frames from the queue to the encoder; with last, the rest as well.
bool SendAudioFrames(VideoExport* v, bool last, std::string* error);
// Converts mixer frames (nullptr: what the resampler still holds) into the encoder's queue.
bool QueueSound(VideoExport* v, const int16_t* stereo, int frames, std::string* error);
// Renders the mix up to untilMs on the game's clock and encodes it.
bool RenderSoundUntil(VideoExport* v, int64_t untilMs, std::string* error);
// Lets the resampler's output go.
void FreeConverted(VideoExport* v);
