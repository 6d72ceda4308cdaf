// The MIDI writer: a score as a format-0 standard MIDI file, and the six pieces written out.
#include <algorithm>
#include <array>
#include <string>

#include "assetgen.h"
#include "music_score.h"

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutVarLen(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t buffer[5];
    int n = 0;
    buffer[n++] = static_cast<uint8_t>(value & 0x7F);
    while ((value >>= 7) != 0) buffer[n++] = static_cast<uint8_t>((value & 0x7F) | 0x80);
    while (n > 0) out.push_back(buffer[--n]);
}

}  // namespace

std::vector<uint8_t> SaveMidi(Score& s, int totalBars, const char* title) {
    const uint32_t end = static_cast<uint32_t>(totalBars) * BAR;
    // Nothing sounds past the last bar line: a note running over it is cut there.
    std::vector<MidiEvent> events;
    for (MidiEvent e : s.events) {
        if (e.tick >= end && !(e.tick == end && (e.bytes[0] & 0xF0) == 0x80)) {
            if ((e.bytes[0] & 0xF0) != 0x80) continue;
            e.tick = end;
        }
        events.push_back(e);
    }
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    // A key struck again while it still sounds is closed first, and its own later note-off
    // dropped, so that it does not cut the new note short.
    std::array<int, 16 * 128> sounding{};
    std::vector<MidiEvent> played;
    for (const MidiEvent& e : events) {
        const int kind = e.bytes[0] & 0xF0;
        if (kind == 0x80 || kind == 0x90) {
            int& count = sounding[static_cast<size_t>((e.bytes[0] & 0x0F) * 128 + e.bytes[1])];
            if (kind == 0x90) {
                if (count > 0) played.push_back({e.tick, 2, {static_cast<uint8_t>(0x80 | (e.bytes[0] & 0x0F)), e.bytes[1], 0}});
                count += 1;
            } else {
                count -= 1;
                if (count > 0) continue;  // an earlier strike's off: the key was closed already
                count = 0;
            }
        }
        played.push_back(e);
    }

    std::vector<uint8_t> track;
    const std::string name(title);
    track.push_back(0);
    track.push_back(0xFF);
    track.push_back(0x03);
    PutVarLen(track, static_cast<uint32_t>(name.size()));
    track.insert(track.end(), name.begin(), name.end());
    const uint8_t timeSignature[] = {0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8};
    for (uint8_t b : timeSignature) track.push_back(b);
    uint32_t last = 0;
    for (const MidiEvent& e : played) {
        PutVarLen(track, e.tick - last);
        last = e.tick;
        for (uint8_t b : e.bytes) track.push_back(b);
    }
    PutVarLen(track, end - last);
    track.push_back(0xFF);
    track.push_back(0x2F);
    track.push_back(0x00);

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    Put(file, 6, 4);
    Put(file, 0, 2);  // format 0: one track
    Put(file, 1, 2);
    Put(file, PPQ, 2);
    for (char c : std::string("MTrk")) file.push_back(static_cast<uint8_t>(c));
    Put(file, static_cast<uint32_t>(track.size()), 4);
    for (uint8_t b : track) file.push_back(b);
    return file;
}

bool WriteMusic(const std::string& outDir) {
    const std::vector<uint8_t> pieces[6] = {ComposeStageThemeA(), ComposeStageThemeB(), ComposeShipSelect(),
                                            ComposeBossTheme(),   ComposeStory(),       ComposeEnding()};
    for (int i = 0; i < 6; ++i) {
        const std::string name = outDir + "/bgm0" + std::to_string(i + 1) + ".mid";
        if (!WriteFileBytes(name, pieces[i])) return false;
    }
    return true;
}
