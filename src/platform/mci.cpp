// The text side of the music layer: the MCI-style command strings and the length of a standard
// MIDI file. The game speaks to its music only in strings such as "open bgm01.mid alias BGM wait"
// and "play BGM from 0 notify"; this file turns them into commands the SDL music player carries
// out. The MIDI reader walks every track once and lays all their channel messages on one line of
// time through the tempo map, so the player can play them on its synthesiser sample by sample and
// knows exactly when a piece has played to its end.
#include "platform/mci.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/file_io.h"

namespace {

// The next word of the text at *at, split at white space; false when none is left. The words
// point into the command, so reading one takes nothing from the heap.
bool NextWord(const char** at, std::string_view* word) {
    const char* p = *at;
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* start = p;
    while (*p && !std::isspace(static_cast<unsigned char>(*p))) ++p;
    *at = p;
    *word = std::string_view(start, static_cast<size_t>(p - start));
    return p != start;
}

// The word is keyword (written in lower case), in any case.
bool IsWord(std::string_view word, std::string_view keyword) {
    return word.size() == keyword.size() && std::equal(word.begin(), word.end(), keyword.begin(), [](char c, char k) {
               return std::tolower(static_cast<unsigned char>(c)) == k;
           });
}

bool ParseNumber(std::string_view text, uint32_t* value) {
    if (text.empty() || text.size() > 9) return false;
    uint32_t number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        number = number * 10 + static_cast<uint32_t>(c - '0');
    }
    *value = number;
    return true;
}

}  // namespace

bool MciParseCommand(const char* text, MciCommand* command) {
    *command = MciCommand{};
    if (!text) return false;
    std::string_view verb, object;
    if (!NextWord(&text, &verb) || !NextWord(&text, &object)) return false;

    MciCommand c;
    if (IsWord(verb, "open")) {
        c.verb = MCI_VERB_OPEN;
        c.file = object;
    } else if (IsWord(verb, "play") || IsWord(verb, "stop") || IsWord(verb, "close")) {
        c.verb = IsWord(verb, "play") ? MCI_VERB_PLAY : IsWord(verb, "stop") ? MCI_VERB_STOP : MCI_VERB_CLOSE;
        c.alias = object;
    } else {
        return false;
    }
    // The flags may come in any order, as MCI allows.
    std::string_view flag, value;
    while (NextWord(&text, &flag)) {
        if (IsWord(flag, "wait")) {
            c.wait = true;
        } else if (IsWord(flag, "notify")) {
            c.notify = true;
        } else if (IsWord(flag, "alias") && c.verb == MCI_VERB_OPEN && NextWord(&text, &value)) {
            c.alias = value;
        } else if (IsWord(flag, "type") && c.verb == MCI_VERB_OPEN && NextWord(&text, &value)) {
            if (!IsWord(value, "sequencer")) return false;
        } else if (IsWord(flag, "from") && c.verb == MCI_VERB_PLAY && NextWord(&text, &value)) {
            if (!ParseNumber(value, &c.from)) return false;
            c.hasFrom = true;
        } else {
            return false;
        }
    }
    // Without an alias the device would be named by its file; this layer holds only aliased pieces.
    if (c.alias.empty()) return false;
    *command = c;
    return true;
}

// ---- standard MIDI files --------------------------------------------------------------------

namespace {

struct Reader {
    const std::vector<uint8_t>& bytes;
    size_t pos;
    size_t end;

    bool Has(size_t n) const { return pos <= end && end - pos >= n; }
    uint8_t Byte() { return bytes[pos++]; }
    uint32_t Big(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | bytes[pos++];
        return v;
    }
    bool VarLen(uint32_t* value) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            if (!Has(1)) return false;
            const uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) {
                *value = v;
                return true;
            }
        }
        return false;
    }
};

struct TempoChange {
    uint64_t tick;
    uint32_t microsPerQuarter;
};

// A channel message at its tick, before the tempo map turns ticks into time.
struct TickedEvent {
    uint64_t tick;
    uint8_t status, data1, data2;
};

std::string TooLargeText() { return "is larger than the " + std::to_string(MIDI_MAX_FILE_BYTES) + " bytes a piece may hold"; }

// What a walk found wrong, for the reader's message.
enum WalkResult { WALK_OK, WALK_MALFORMED, WALK_TOO_MANY_EVENTS };

// Walks one track from reader.pos to reader.end. Adds its tempo changes and its channel messages
// (together never more than MIDI_MAX_EVENTS for the whole piece); *lastTick: the tick of its last
// event (the end-of-track when present).
WalkResult WalkTrack(Reader& r, std::vector<TempoChange>* tempos, std::vector<TickedEvent>* events, uint64_t* lastTick) {
    const auto full = [&] { return tempos->size() + events->size() >= MIDI_MAX_EVENTS; };
    uint64_t tick = 0;
    uint8_t status = 0;
    while (r.Has(1)) {
        uint32_t delta = 0;
        if (!r.VarLen(&delta)) return WALK_MALFORMED;
        tick += delta;
        if (!r.Has(1)) return WALK_MALFORMED;
        uint8_t b = r.Byte();
        if (b == 0xFF) {
            if (!r.Has(1)) return WALK_MALFORMED;
            const uint8_t type = r.Byte();
            uint32_t len = 0;
            if (!r.VarLen(&len) || !r.Has(len)) return WALK_MALFORMED;
            if (type == 0x51 && len == 3) {
                const uint32_t tempo = r.Big(3);
                if (tempo != 0) {
                    if (full()) return WALK_TOO_MANY_EVENTS;
                    tempos->push_back({tick, tempo});
                }
            } else {
                r.pos += len;
            }
            if (type == 0x2F) break;  // end of track
            continue;
        }
        if (b == 0xF0 || b == 0xF7) {
            uint32_t len = 0;
            if (!r.VarLen(&len) || !r.Has(len)) return WALK_MALFORMED;
            r.pos += len;
            status = 0;
            continue;
        }
        if (b >= 0xF0) return WALK_MALFORMED;  // system common and real-time bytes have no place in a file
        if (b & 0x80) {
            status = b;
        } else {
            if (status == 0) return WALK_MALFORMED;  // running status with nothing to run on
            --r.pos;
        }
        const uint8_t kind = status & 0xF0;
        const size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (!r.Has(dataBytes)) return WALK_MALFORMED;
        const uint8_t data1 = r.Byte() & 0x7F;
        const uint8_t data2 = dataBytes == 2 ? (r.Byte() & 0x7F) : 0;
        if (full()) return WALK_TOO_MANY_EVENTS;
        events->push_back({tick, status, data1, data2});
    }
    *lastTick = tick;
    return WALK_OK;
}

}  // namespace

bool MidiReadPiece(const std::vector<uint8_t>& bytes, MidiPiece* piece, std::string* problem) {
    *piece = MidiPiece{};
    std::string ignored;
    if (!problem) problem = &ignored;
    *problem = "is not a MIDI file the game can play";
    if (bytes.size() > MIDI_MAX_FILE_BYTES) {
        *problem = TooLargeText();
        return false;
    }
    Reader r{bytes, 0, bytes.size()};
    if (!r.Has(14) || r.Big(4) != 0x4D546864u) return false;  // "MThd"
    const uint32_t headerLength = r.Big(4);
    if (headerLength < 6 || !r.Has(headerLength)) return false;
    r.Big(2);  // format: 0 and 1 read alike here (2 is not used by the game)
    const uint32_t trackCount = r.Big(2);
    const uint32_t division = r.Big(2);
    r.pos += headerLength - 6;
    if (division == 0) return false;

    std::vector<TempoChange> tempos;
    std::vector<TickedEvent> ticked;
    uint64_t endTick = 0;
    for (uint32_t t = 0; t < trackCount; ++t) {
        if (!r.Has(8)) return false;
        const uint32_t id = r.Big(4);
        const uint32_t length = r.Big(4);
        if (!r.Has(length)) return false;
        const size_t trackEnd = r.pos + length;
        if (id == 0x4D54726Bu) {  // "MTrk"; other chunk kinds are skipped
            Reader track{bytes, r.pos, trackEnd};
            uint64_t last = 0;
            const WalkResult walked = WalkTrack(track, &tempos, &ticked, &last);
            if (walked == WALK_TOO_MANY_EVENTS)
                *problem = "holds more than the " + std::to_string(MIDI_MAX_EVENTS) + " events a piece may hold";
            if (walked != WALK_OK) return false;
            endTick = std::max(endTick, last);
        }
        r.pos = trackEnd;
    }
    // All tracks in one line of time; messages at the same tick keep their track's order, and
    // earlier tracks come first.
    std::stable_sort(ticked.begin(), ticked.end(), [](const TickedEvent& a, const TickedEvent& b) { return a.tick < b.tick; });

    // Ticks to microseconds: in SMPTE time a fixed rate (frames per second, as a negative byte,
    // times ticks per frame); otherwise the tempo map, 120 beats a minute until the first change,
    // the changes applying in tick order.
    double smpteTicksPerSecond = 0.0;
    if (division & 0x8000) {
        const int fps = -static_cast<int8_t>(division >> 8);
        const int ticksPerFrame = static_cast<int>(division & 0xFF);
        if (fps <= 0 || ticksPerFrame == 0) return false;
        smpteTicksPerSecond = static_cast<double>(fps) * ticksPerFrame;
    }
    std::stable_sort(tempos.begin(), tempos.end(), [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    size_t nextTempo = 0;
    uint64_t tempoTick = 0;    // where the tempo in force began
    double tempoMicros = 0.0;  // and its time
    uint32_t tempo = 500000;
    const auto timeOf = [&](uint64_t tick) {
        if (smpteTicksPerSecond > 0.0) return static_cast<double>(tick) * 1e6 / smpteTicksPerSecond;
        while (nextTempo < tempos.size() && tempos[nextTempo].tick <= tick) {
            tempoMicros += static_cast<double>(tempos[nextTempo].tick - tempoTick) * tempo / division;
            tempoTick = tempos[nextTempo].tick;
            tempo = tempos[nextTempo].microsPerQuarter;
            ++nextTempo;
        }
        return tempoMicros + static_cast<double>(tick - tempoTick) * tempo / division;
    };
    piece->events.reserve(ticked.size());
    for (const TickedEvent& e : ticked) piece->events.push_back({timeOf(e.tick), e.status, e.data1, e.data2});
    piece->lengthMicros = timeOf(endTick);
    // No event comes after the end, so a piece within the limit keeps every time within the
    // range of the players' clocks (huge delta times or a crawling tempo would not).
    if (!(piece->lengthMicros <= MIDI_MAX_LENGTH_MS * 1000.0)) {
        *piece = MidiPiece{};
        *problem = "plays for longer than the " + std::to_string(MIDI_MAX_LENGTH_MS / 60000) + " minutes a piece may last";
        return false;
    }
    return true;
}

bool MidiReadFile(const std::string& path, MidiPiece* piece, std::string* problem) {
    *piece = MidiPiece{};
    PlatReadFile file;
    const FileStatus status = PlatOpenForReading(path.c_str(), &file);
    if (status != FILE_OK) {
        *problem = PlatFileStatusText(status);
        return false;
    }
    if (file.size > static_cast<int64_t>(MIDI_MAX_FILE_BYTES)) {
        PlatCloseFile(&file);
        *problem = TooLargeText();
        return false;
    }
    // The header first: a file that is no MIDI file is not read any further.
    std::vector<uint8_t> bytes(4);
    long got = PlatReadBytes(&file, bytes.data(), bytes.size());
    if (got == 4 && bytes[0] == 'M' && bytes[1] == 'T' && bytes[2] == 'h' && bytes[3] == 'd') {
        // One byte past the limit tells a file that grew since it was measured.
        bytes.resize(std::min<size_t>(static_cast<size_t>(file.size), MIDI_MAX_FILE_BYTES) + 1);
        const long more = PlatReadBytes(&file, bytes.data() + 4, bytes.size() - 4);
        got = more < 0 ? -1 : got + more;
    }
    PlatCloseFile(&file);
    if (got < 0) {
        *problem = PlatFileStatusText(FILE_READ_ERROR);
        return false;
    }
    bytes.resize(static_cast<size_t>(got));
    return MidiReadPiece(bytes, piece, problem);
}

bool MidiLengthMs(const std::vector<uint8_t>& bytes, uint32_t* lengthMs) {
    *lengthMs = 0;
    MidiPiece piece;
    if (!MidiReadPiece(bytes, &piece)) return false;
    *lengthMs = piece.LengthMs();
    return true;
}
