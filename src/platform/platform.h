// The platform layer: everything the game needs from the machine, in the shape the game's
// Windows heritage expects (surfaces and blits, a window with messages, a millisecond clock,
// GetAsyncKeyState-style keys, a joystick, sound buffers and MCI-style music commands).
//
// Two back-ends sit behind this one header and are chosen when the program starts:
//   SDL      the real thing: a window, a renderer, audio, joystick and message boxes.
//   headless no window, no audio, a virtual clock; it succeeds at every set-up step and records
//            what it was asked to do (sounds started, music commands, frames presented) so the
//            headless runner and the tests can look at it.
// Only src/platform sees SDL: the build gives its headers to nothing else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings.h"

// ---------------------------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------------------------

enum PlatformBackend { PLATFORM_SDL = 0, PLATFORM_HEADLESS = 1 };

struct PlatformOptions {
    PlatformBackend backend = PLATFORM_HEADLESS;
    bool windowed = false;    // SDL: a resizable window instead of desktop full screen
    PlayerSettings settings;  // SDL: loudness, extra keys and pad buttons (the headless ignores them)
};

// Called once by main before anything else of the platform is used. Returns false (after printing
// why on stderr) when the SDL back-end cannot start its video subsystem.
bool PlatformInit(const PlatformOptions& options);
// Called once by main at the very end.
void PlatformShutdown();

// ---------------------------------------------------------------------------------------------
// Window and messages (stands in for the Win32 window, message queue and message boxes)
// ---------------------------------------------------------------------------------------------

inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t MM_MCINOTIFY = 0x03B9;
inline constexpr uint32_t SIZE_MINIMIZED = 1;
inline constexpr uint32_t MCI_NOTIFY_SUCCESSFUL = 1;
inline constexpr uint32_t MCI_NOTIFY_ABORTED = 4;

struct WindowMessage {
    uint32_t message = 0;
    uint32_t wParam = 0;
};

// The game's window procedure. Called for every dispatched message, and synchronously for
// WM_DESTROY from PlatDestroyWindow, as Windows does.
using WindowProc = int (*)(uint32_t message, uint32_t wParam);

// Called by main (and the headless runner) before the start-up dialog: creates the game window
// (not yet visible).
void PlatCreateWindow(WindowProc proc);
// Called by SetUpAfterDialog: shows the window and brings it to the front.
void PlatShowWindow();
// Destroys the window: the window procedure receives WM_DESTROY before this returns.
// A second call does nothing.
void PlatDestroyWindow();
bool PlatWindowExists();

// Message queue. PlatPeekMessage pumps the system's events into the queue and tells whether a
// message waits (it does not remove it). PlatGetMessage removes the next one; it returns 0 for
// WM_QUIT. PlatWaitMessage blocks until a message arrives; PlatWaitMessageUntil blocks until a
// message arrives or PlatTimeGetTime() reaches deadlineMs, whichever is first, without spinning.
bool PlatPeekMessage();
int PlatGetMessage(WindowMessage* msg);
void PlatDispatchMessage(const WindowMessage& msg);
void PlatPostMessage(uint32_t message, uint32_t wParam);
void PlatPostQuitMessage(int exitCode);
void PlatWaitMessage();
void PlatWaitMessageUntil(uint32_t deadlineMs);

void PlatShowCursor(bool show);

// Modal message box with an OK button (MB_OK). Texts are UTF-8 (Japanese included) and are
// drawn with a font that covers them. Headless: the text goes to stderr.
void PlatMessageBox(const char* text, const char* caption);

// ---------------------------------------------------------------------------------------------
// Clock (timeGetTime / GetTickCount stand-ins), milliseconds, wrapping at 2^32
// ---------------------------------------------------------------------------------------------

uint32_t PlatTimeGetTime();
uint32_t PlatGetTickCount();
// Headless only: moves the virtual clock forward.
void PlatHeadlessAdvanceClock(uint32_t ms);

// ---------------------------------------------------------------------------------------------
// Keyboard (GetAsyncKeyState stand-in), Windows virtual-key codes
// ---------------------------------------------------------------------------------------------

inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_NUMPAD2 = 0x62;
inline constexpr int VK_NUMPAD4 = 0x64;
inline constexpr int VK_NUMPAD6 = 0x66;
inline constexpr int VK_NUMPAD8 = 0x68;
inline constexpr int VK_P = 0x50;
inline constexpr int VK_X = 0x58;
inline constexpr int VK_Z = 0x5A;

// True while the key is held now. VK_CONTROL and VK_SHIFT answer for either key of the pair;
// the keypad digits answer with or without Num Lock.
bool PlatIsKeyDown(int vk);
// Headless only: the runner sets which keys are held.
void PlatHeadlessSetKeyDown(int vk, bool down);

// ---------------------------------------------------------------------------------------------
// Joystick (DirectInput / joyGetDevCaps stand-ins)
// ---------------------------------------------------------------------------------------------

struct PlatJoystickRaw {
    int32_t x = 32768;         // axis 0 mapped onto 0..65535
    int32_t y = 32768;         // axis 1 mapped onto 0..65535
    uint8_t buttons[32] = {};  // nonzero = held
};

// True when a joystick is attached now (what joyGetDevCaps(0) answers).
bool PlatJoystickPresent();
// Opens the first attached joystick for play. Returns 0 on success, otherwise the number of the
// failed set-up step (5 = no joystick could be opened).
int PlatJoystickOpen();
// Reads the joystick. Returns false (and leaves *raw centred with no button held) when no
// joystick is open or it was unplugged; a joystick plugged in again is picked up.
bool PlatJoystickPoll(PlatJoystickRaw* raw);
void PlatJoystickClose();
// Headless only: what the virtual joystick reports (present=false: none attached).
void PlatHeadlessSetJoystick(bool present, const PlatJoystickRaw& raw);

// ---------------------------------------------------------------------------------------------
// 8-bit palettised surfaces (DirectDraw stand-in)
// ---------------------------------------------------------------------------------------------

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

struct PlatRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Surface;  // opaque

// DD_OK, DDERR_SURFACELOST and any other failure.
enum BlitResult { BLIT_OK = 0, BLIT_SURFACE_LOST = 1, BLIT_FAILED = 2 };

// Creates the primary surface (the 640 x 480 screen) or an off-screen surface. Only at set-up.
Surface* PlatCreatePrimarySurface(int width, int height);
Surface* PlatCreateSurface(int width, int height);
void PlatReleaseSurface(Surface* surface);
int PlatSurfaceWidth(const Surface* surface);
int PlatSurfaceHeight(const Surface* surface);

// Source colour key: this palette index is not copied by a keyed blit (-1: none).
void PlatSetColourKey(Surface* surface, int index);
// Lock for writing pixels. Fails (returns false) while the surface is lost or already locked.
bool PlatLockSurface(Surface* surface, uint8_t** bits, int* pitch);
void PlatUnlockSurface(Surface* surface);
// Attaches a palette. The primary surface's palette is the screen's.
void PlatSetPalette(Surface* surface, const PaletteEntry entries[256]);
const PaletteEntry* PlatGetPalette(const Surface* surface);
// Read access for screenshots, hashes and presentation.
const uint8_t* PlatSurfacePixels(const Surface* surface, int* pitch);

// Blt with DDBLT_COLORFILL: fills dst (nullptr: the whole surface) with a palette index.
BlitResult PlatColourFill(Surface* dst, const PlatRect* rect, int colour);
// BltFast: copies srcRect of src to (x, y) on dst, 1:1, with or without the source colour key.
// Nothing is clipped: rectangles outside either surface fail with BLIT_FAILED.
BlitResult PlatBltFast(Surface* dst, int x, int y, Surface* src, const PlatRect& srcRect, bool colourKey);
// Blt that stretches srcRect of src onto dstRect of dst (nearest neighbour).
BlitResult PlatBltStretch(Surface* dst, const PlatRect& dstRect, Surface* src, const PlatRect& srcRect);

// Lost surfaces: a display reset marks every surface lost; blits that touch a lost surface
// return BLIT_SURFACE_LOST. Restore gives the surface its memory back (contents undefined) and
// returns true, or false when it cannot be restored now.
bool PlatIsSurfaceLost(const Surface* surface);
bool PlatRestoreSurface(Surface* surface);
void PlatMarkAllSurfacesLost();
// Tests: make the next PlatRestoreSurface calls fail (true) or succeed again (false).
void PlatSetRestoreFails(bool fails);

// Shows the primary surface in the window (scaled, letterboxed). Headless: counts frames.
void PlatPresent();
uint64_t PlatPresentCount();

// Headless only, for tests of the frame loop on the virtual clock: a message that arrives at a
// given virtual time (waiting jumps the clock forward to it), and the virtual times of the last
// presentations (oldest first, at most 64).
void PlatHeadlessScheduleMessage(uint32_t atMs, uint32_t message, uint32_t wParam);
void PlatHeadlessPresentTimes(std::vector<uint32_t>* times);

// Writes the screen as the game last drew it (the primary surface: its palette indices and its
// palette) as an 8-bit PNG at path. Called by the headless runner's --shot; the window's F12
// screenshot writes the very same file. False when there is no screen or the file fails.
[[nodiscard]] bool PlatWriteScreenPng(const char* path);

// ---------------------------------------------------------------------------------------------
// Sound effects (DirectSound stand-in) and music (MCI stand-in)
// ---------------------------------------------------------------------------------------------

// The effects are known by their ids, 101 to 112, one buffer each.
inline constexpr int FIRST_SOUND_EFFECT = 101;
inline constexpr int SOUND_EFFECT_COUNT = 12;

// Opens the audio device. False when there is none (the game then ends, as it cannot start).
bool PlatSoundInit();
// Copies one effect's samples into its own buffer (8- or 16-bit PCM). False on failure.
bool PlatSoundCreateBuffer(int effectId, const uint8_t* data, uint32_t bytes, int samplesPerSecond, int bitsPerSample,
                           int channels);
// Stop, rewind, play once. An effect without a buffer does nothing.
void PlatSoundPlay(int effectId);
void PlatSoundStop(int effectId);
void PlatSoundReleaseBuffer(int effectId);
void PlatSoundShutdown();

// Sends one MCI command string ("open bgm01.mid alias BGM wait", "play BGM from 0 notify", ...).
// When the piece played with "notify" ends, MM_MCINOTIFY with MCI_NOTIFY_SUCCESSFUL is posted to
// the window's message queue. Unknown or failing commands are ignored.
void PlatMciSendString(const char* command);

// Headless only: what was started and sent since the last call (the trace drains it each tick).
void PlatHeadlessTakeAudioLog(std::vector<int>* sounds, std::vector<std::string>* music);

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

// The folder that holds the running executable, with a trailing '/' ("" when unknown).
const char* PlatProgramDirectory();

// The data files (palette.dat, the sheets, the pieces of music) are looked up by their plain
// names in these folders, in this order: the current folder; the program's own folder (an
// unpacked copy); the installed data folder as seen from the program ("../share/vorne" beside
// "bin", so a moved installation still finds it); the installed data folder the build was
// configured for. PlatFindDataFile is that one lookup, for pictures and music alike: true, with
// the path to open in *path, when a regular file of that name is in one of them. A name that
// holds a '/' is a path and is only looked at where it points.
bool PlatFindDataFile(const char* name, std::string* path);
// Those folders as absolute paths, without repeats, separated by ", " (for messages and --help).
std::string PlatDataFolderList();
// True when the current folder holds the game's data (palette.dat): the game was started in a
// data folder (the build's, an unpacked copy) and keeps its records there, as it always has.
bool PlatDataInCurrentFolder();
// The per-user folder for the records: $XDG_DATA_HOME/vorne (an absolute XDG_DATA_HOME only), or
// ~/.local/share/vorne. Empty when no home folder is known.
std::string PlatUserRecordsFolder();
// The player's settings folder (vorne.ini, gamecontrollerdb.txt): $XDG_CONFIG_HOME/vorne (an
// absolute XDG_CONFIG_HOME only), or ~/.config/vorne. Empty when no home folder is known.
std::string PlatUserSettingsFolder();
// The home folder: $HOME when absolute, else the password database's. Empty when unknown.
std::string PlatHomeFolder();
// Creates the folder where it is missing (mode 0700, parents as needed). False, with the reason
// in *error, when it cannot.
[[nodiscard]] bool PlatCreateFolder(const std::string& folder, std::string* error);
// PlatCreateFolder, then changes into the folder. False, with the reason in *error, when either
// fails.
bool PlatEnterFolder(const std::string& folder, std::string* error);
// Reads a data file found by PlatFindDataFile and checks that the music player can read it as a
// piece of music. False, with a one-line reason naming the file in *problem, when the file is
// missing, unreadable, too large or not a MIDI file. Called for the headless runner, which has
// no music player to notice.
bool PlatCheckMusicFile(const char* name, std::string* problem);
