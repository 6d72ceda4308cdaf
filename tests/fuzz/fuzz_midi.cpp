// Fuzz target: the MIDI reader. A piece it accepts is within every limit, its events in time
// order and none after its end.
#include "fuzz_support.h"
#include "platform/mci.h"

FUZZ_TARGET {
    MidiPiece piece;
    std::string problem;
    if (!MidiReadPiece(std::vector<uint8_t>(data, data + size), &piece, &problem)) {
        Require(!problem.empty() && piece.events.empty());
        return 0;
    }
    Require(piece.events.size() <= MIDI_MAX_EVENTS && piece.LengthMs() <= MIDI_MAX_LENGTH_MS);
    double last = 0.0;
    for (const MidiEvent& e : piece.events) {
        Require(e.micros >= last && e.micros <= piece.lengthMicros && e.status >= 0x80 && e.status <= 0xEF);
        Require(e.data1 <= 0x7F && e.data2 <= 0x7F);
        last = e.micros;
    }
    return 0;
}
