// Input, replay and records: the six controls (keyboard, joystick or the replay), the joystick
// device, the per-frame replay records with replay.rep, and the high score with score.dat.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/record_fields.h"
#include "platform/file_io.h"

// ---- mode flags, set by the start-up dialog (or the command line); never reset
extern int g_useJoystick;         // 1: joystick play
extern uint8_t g_watchingReplay;  // 1: the loaded replay plays instead of the controls

// ---- controls
enum Control { CONTROL_UP = 0, CONTROL_DOWN = 1, CONTROL_LEFT = 2, CONTROL_RIGHT = 3, CONTROL_SHOT = 4, CONTROL_BOMB = 5 };

inline constexpr int JOY_AXIS_LOW = 14000;
inline constexpr int JOY_AXIS_HIGH = 50000;

struct JoystickState {
    int32_t left;
    int32_t right;
    int32_t up;
    int32_t down;
    uint8_t buttons[32];
};
static_assert(sizeof(JoystickState) == 48);
// Its fields, in order, for the state dump (a new field is one more line here).
inline constexpr Field JOYSTICK_STATE_FIELDS[] = {
    FIELD(JoystickState, left, I32),
    FIELD(JoystickState, right, I32),
    FIELD(JoystickState, up, I32),
    FIELD(JoystickState, down, I32),
    FIELD_ARRAY(JoystickState, buttons, U8, 32),
};
inline constexpr RecordFields JOYSTICK_STATE_RECORD = RECORD_FIELDS(JoystickState, JOYSTICK_STATE_FIELDS, RECORD_OBJECT);

// Polled once per tick in joystick play; zero at program start.
extern JoystickState g_joystickState;

// True while the key is held (the keyboard is read directly, never through a device).
bool IsKeyDown(int vk);
// True while the control is held on the keyboard (keyboard play) or the joystick (joystick play),
// ignoring the replay. Used by the title's start and the continue screen's accept, which are not
// recorded.
bool IsControlHeldLive(Control control);
// The rule used by the ship, shots, bomb and ship selection: in a watched replay the control's
// byte of the current record is 1; otherwise the live control is held, and then its byte of the
// current record is set to 1 (the recording).
bool IsControlPressed(Control control);

// Joystick set-up for joystick play: false after a failure message.
[[nodiscard]] bool InitJoystick();
// Reads the joystick into state: axes against the thresholds, 32 buttons.
void PollJoystick(JoystickState* state);
// Maps a raw reading onto state (the thresholds and the buttons); used by PollJoystick.
void JoystickStateFromRaw(int32_t x, int32_t y, const uint8_t* buttons, JoystickState* state);
// Called by the window's destruction in either mode.
void ReleaseInput();

// ---- replay
inline constexpr int MAX_REPLAY_FRAMES = 108000;
inline constexpr uint32_t REPLAY_MAGIC = 42901234;

struct ReplayRecord {
    uint8_t up, down, left, right, shot, bomb;
    int8_t fps;
};
static_assert(sizeof(ReplayRecord) == 7);

// The recording (live play) or the loaded replay (watched); zero at program start.
extern ReplayRecord g_replayRecords[MAX_REPLAY_FRAMES];
extern int32_t g_replayFrame;

// Reads replay.rep: true when a replay was read, false when there is no usable file.
[[nodiscard]] bool LoadReplay();
// The reader of LoadReplay on the file's bytes: the magic number, then at most the whole record
// array into g_replayRecords. False when the magic is not there. Also for the fuzz target.
[[nodiscard]] bool ReadReplayBytes(const uint8_t* bytes, size_t size);
// replay.rep as it is written now (the magic, then the first g_replayFrame records): the replay's
// half of the high score's commit, which writes it and score.dat as a whole.
PlatRecordFile ReplayFileContent();

// ---- high score
inline constexpr int32_t DEFAULT_HIGH_SCORE = 100000;
extern int32_t g_savedHiScore;

void ReadHighScoreFile();
// Writes score.dat as a whole; false, after a line on stderr, when it could not be written.
[[nodiscard]] bool WriteHighScoreFile();
// The value score.dat's bytes stand for: the default with as many low bytes replaced as the
// file holds (4 at most). Called by ReadHighScoreFile and the fuzz target.
int32_t HighScoreFromBytes(const uint8_t* bytes, size_t size);
// Called by the dialog's start buttons.
void LoadHighScore();
// Called where a game ends (the continue screen opens; the ending has finished): saves the
// replay and the score together when a live game without continue beat the stored score. A save
// that fails keeps the old pair (with a line on stderr) and the game goes on with the new score.
void CommitHighScore();

// What the last game to reach its end without a continue scored, live or watched, and how many
// frames it had recorded then: what CommitHighScore would save. Set by CommitHighScore; kept
// across resets (a run that watches the replay to its end checks it against score.dat).
struct GameResult {
    int32_t score = 0;
    int32_t frames = 0;
    int32_t games = 0;  // how many games have reached their end so far
};
extern GameResult g_lastGameResult;
