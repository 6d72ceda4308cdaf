// The video recorder's frames (see video_export.cpp): the screen turned into the encoders'
// pictures, the mix into their sound, and the packets they make written to the file.
#include <algorithm>
#include <cstring>

#include "platform/audio_mix.h"
#include "platform/platform.h"
#include "platform/video_export_internal.h"

// ---- packets --------------------------------------------------------------------------------------

namespace {

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

}  // namespace

bool SendFrame(VideoExport* v, AVCodecContext* codec, AVStream* stream, const AVFrame* frame, std::string* error) {
    const int sent = avcodec_send_frame(codec, frame);
    if (sent < 0) return Fail(error, "the encoder refused a frame: " + AvError(sent));
    return DrainEncoder(v, codec, stream, error);
}

// ---- pictures -------------------------------------------------------------------------------------

namespace {

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

}  // namespace

bool TakePicture(VideoExport* v, const Surface* screen, std::string* error) {
    const int ready = av_frame_make_writable(v->picture);
    if (ready < 0) return Fail(error, "no memory for a picture: " + AvError(ready));
    int pitch = 0;
    const uint8_t* pixels = PlatSurfacePixels(screen, &pitch);
    const PaletteEntry* entries = PlatGetPalette(screen);
    for (int i = 0; i < 256; ++i) {
        const uint32_t colour =
            static_cast<uint32_t>(entries[i].red) << 16 | static_cast<uint32_t>(entries[i].green) << 8 | entries[i].blue;
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

bool SendPicture(VideoExport* v, int64_t untilMs, std::string* error) {
    if (!v->pictureHeld) return true;
    v->pictureHeld = false;
    v->picture->pts = v->pictureMs;
    v->durations[v->pictureMs] = std::max<int64_t>(1, untilMs - v->pictureMs);
    return SendFrame(v, v->video, v->videoStream, v->picture, error);
}

// ---- sound ----------------------------------------------------------------------------------------

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
