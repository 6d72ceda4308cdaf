// Private to src/platform: the text side of the music layer that stands in for MCI. It reads the
// command strings the game sends and the length of a MIDI file, and reports what the SDL music
// player holds, for the tests. No SDL here, so the tests can drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum MciVerb { MCI_VERB_NONE = 0, MCI_VERB_OPEN, MCI_VERB_PLAY, MCI_VERB_STOP, MCI_VERB_CLOSE };

struct MciCommand {
    MciVerb verb = MCI_VERB_NONE;
    std::string file;     // open: the file to open, as written (no path: the current directory)
    std::string alias;    // the device's alias (always BGM in this game)
    bool notify = false;  // play: post the end-of-piece notification
    bool wait = false;    // the caller waits for the command to finish (ours always finish at once)
    bool hasFrom = false;
    uint32_t from = 0;  // play: start position in milliseconds
};

// Reads one command string. False (and verb NONE) for anything this layer cannot carry out.
// Called by the SDL music player for every command, and by the tests.
bool MciParseCommand(const char* text, MciCommand* command);

// The most a piece may be. The game's pieces are a few minutes long, tens of kilobytes and a few
// thousand events; a file beyond any of these is refused, so a hostile or broken file can take
// neither unbounded time nor memory nor break the players' clocks.
inline constexpr size_t MIDI_MAX_FILE_BYTES = 4 * 1024 * 1024;
inline constexpr size_t MIDI_MAX_EVENTS = 200000;  // channel messages and tempo changes
inline constexpr uint32_t MIDI_MAX_LENGTH_MS = 60 * 60 * 1000;

// A standard MIDI file read for playing: its channel messages (note on and off, controllers,
// programs, pressure, pitch bend; system and meta events are left out) in time order, and its
// length from its tempo map up to its last event (the latest end-of-track of all tracks).
struct MidiEvent {
    double micros;   // from the start of the piece
    uint8_t status;  // 0x80-0xEF: the kind and the channel
    uint8_t data1;
    uint8_t data2;  // 0 for the one-byte kinds (program, channel pressure)
};
struct MidiPiece {
    std::vector<MidiEvent> events;
    double lengthMicros = 0.0;
    // The length in whole milliseconds; a read piece is at most MIDI_MAX_LENGTH_MS long.
    uint32_t LengthMs() const {
        if (!(lengthMicros > 0.0)) return 0;
        if (!(lengthMicros < MIDI_MAX_LENGTH_MS * 1000.0)) return MIDI_MAX_LENGTH_MS;
        return static_cast<uint32_t>(lengthMicros / 1000.0 + 0.5);
    }
};
// False when the bytes are not a MIDI file we can read or exceed a limit, with the reason (to
// follow the file's name: "is not a MIDI file the game can play", "plays for longer than ...") in
// *problem when it is given. Called by MidiReadFile, the tests and the fuzz target.
bool MidiReadPiece(const std::vector<uint8_t>& bytes, MidiPiece* piece, std::string* problem = nullptr);
// Reads a piece from its file: a regular file only, refused unread when larger than the limit,
// its header checked before the rest is read. False with the reason (as above). Called by the
// music player when it loads a piece and by the headless runner's music check.
bool MidiReadFile(const std::string& path, MidiPiece* piece, std::string* problem);

// The length of a standard MIDI file in milliseconds, from its tempo map up to its last event
// (the latest end-of-track of all tracks). False when the bytes are not a MIDI file we can read.
// Called by the tests.
bool MidiLengthMs(const std::vector<uint8_t>& bytes, uint32_t* lengthMs);

// What the SDL music player holds now; for the tests.
struct MciState {
    bool open = false;           // a piece is open under the alias
    std::string file;            // the file it was opened from
    bool playing = false;        // "play" was sent and neither stop nor close since
    bool notifyPending = false;  // the end-of-piece notification is armed
    uint32_t lengthMs = 0;       // the open piece's length
    bool audible = false;        // the piece is really sounding (a soundfont and the file loaded)
};
MciState SdlMciState();
// Microseconds SdlMciSendString spent in its last "open" (finding the loaded piece), for measurements.
uint32_t SdlMciLastOpenMicroseconds();
// How many pieces are still being loaded in the background; for the tests.
int SdlMciPendingLoads();
