// The video recorder: writes a run of the game to a video file with its sound, through FFmpeg's
// libraries. Part of the platform's interface beside platform.h (FFmpeg is seen only by
// video_export.cpp): the game side hands it, tick by tick, the screen as the player sees it and
// the effects and music commands of the tick; the recorder scales the picture, renders the sound
// with the game's own mixer (the one the live device uses), encodes both and keeps them in step
// on the game's clock.
//
// The file is written under a temporary name in the destination's folder and renamed to its
// final name only when it is complete, so an interrupted or failed export never leaves a
// half-written file under the name asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AudioMixer;
struct Surface;

// What is written, chosen by the file name.
enum VideoKind {
    VIDEO_H264_MP4 = 0,  // .mp4: H.264 and AAC, for sharing
    VIDEO_VP9_WEBM = 1,  // .webm: VP9 and Opus, for the web
    VIDEO_FFV1_MKV = 2,  // .mkv: lossless FFV1 (RGB) and FLAC, for tests and archiving
};

// The kind a file name asks for, by its extension (in any case). Lossless video goes in Matroska
// only. False, with a one-line reason, for a name this recorder cannot write. Called by the
// command line, so an unknown container is refused before any work starts.
[[nodiscard]] bool VideoKindFromName(const std::string& path, bool lossless, VideoKind* kind, std::string* error);

struct VideoExportSettings {
    std::string path;  // the final name
    VideoKind kind = VIDEO_H264_MP4;
    int scale = 2;    // whole factor; every screen pixel becomes scale x scale (nearest neighbour)
    int width = 640;  // of the screen
    int height = 480;
    int musicVolume = 100;  // the player's loudness settings, as the mixer takes them
    int effectsVolume = 100;
    bool mute = false;
};

struct VideoExport;  // one export, from Open to Finish or Discard

// Opens the encoders and creates the temporary file beside settings.path; the recorder takes the
// mixer (loaded with the game's effects) and renders every sound of the run with it. nullptr,
// with the reason, when the file cannot be written there or an encoder is missing; the mixer is
// then destroyed. While an export is open, SIGINT, SIGTERM and SIGHUP only set a flag (see
// VideoExportInterrupted), and a file-size limit makes writes fail instead of ending the program.
[[nodiscard]] VideoExport* VideoExportOpen(const VideoExportSettings& settings, AudioMixer* mixer, std::string* error);

// Adds one tick: the screen (its pixels and palette) shown from clockMs on, the game's clock at
// the tick, and the effects started and music commands sent during the tick, which sound from
// clockMs on. The sound of the previous tick is rendered up to clockMs first: the audio sample
// count follows the clock exactly, so sound and picture never drift. False, with the reason,
// when writing failed (the export must then be discarded).
[[nodiscard]] bool VideoExportTick(VideoExport* video, const Surface* screen, uint32_t clockMs, const std::vector<int>& sounds,
                                   const std::vector<std::string>& music, std::string* error);

// True once when the piece of music played with "notify" has come near its end in the sound
// rendered so far: the game's window is to hear MM_MCINOTIFY before its next tick, as it would
// from the live device. Called after each tick.
bool VideoExportTakeEndOfPiece(VideoExport* video);

// Ends the export: the last frame lasts until endMs (the clock at the tick that would come next),
// the sound is rendered up to there, the encoders are drained and the file gets its final name.
// Frees the export. False, with the reason, when anything failed; the temporary file is then
// removed and nothing is left under the final name.
[[nodiscard]] bool VideoExportFinish(VideoExport* video, uint32_t endMs, std::string* error);

// Abandons the export and removes its temporary file. Frees the export.
void VideoExportDiscard(VideoExport* video);

// True when SIGINT, SIGTERM or SIGHUP arrived while an export was open. Polled after each tick.
bool VideoExportInterrupted();
// The signal that did it (0 when none), for the exit status.
int VideoExportInterruptSignal();
