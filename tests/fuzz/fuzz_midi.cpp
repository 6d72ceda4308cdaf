// Fuzz target: the MIDI reader. A piece it accepts is within every limit, its events in time
// order and none after its end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mci.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    MidiPiece piece;
    std::string problem;
    if (!MidiReadPiece(bytes, &piece, &problem)) {
        if (problem.empty() || !piece.events.empty()) __builtin_trap();
        return 0;
    }
    if (piece.events.size() > MIDI_MAX_EVENTS || piece.LengthMs() > MIDI_MAX_LENGTH_MS) __builtin_trap();
    double last = 0.0;
    for (const MidiEvent& e : piece.events) {
        if (e.micros < last || e.micros > piece.lengthMicros || e.status < 0x80 || e.status > 0xEF) __builtin_trap();
        if (e.data1 > 0x7F || e.data2 > 0x7F) __builtin_trap();
        last = e.micros;
    }
    return 0;
}
