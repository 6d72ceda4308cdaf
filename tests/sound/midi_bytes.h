// Tests' own little MIDI writer: a format 0 file at 480 ticks a quarter from a few tempo changes,
// program changes and notes, ending at a chosen tick.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/mci.h"

// Appends a variable-length quantity: seven bits a byte, the most significant first.
inline void AppendVarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while ((v >>= 7) != 0) buf[n++] = uint8_t((v & 0x7F) | 0x80);
    while (n > 0) out.push_back(buf[--n]);
}

struct MidiBytes {
    struct Event {
        uint32_t tick;
        int order;
        std::vector<uint8_t> bytes;
    };
    std::vector<Event> events;

    void Tempo(uint32_t tick, double bpm) {
        const auto us = static_cast<uint32_t>(60000000.0 / bpm + 0.5);
        events.push_back({tick, 0, {0xFF, 0x51, 3, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)}});
    }
    void Program(int channel, int program) { events.push_back({0, 1, {uint8_t(0xC0 | channel), uint8_t(program)}}); }
    void Note(int channel, uint32_t tick, uint32_t length, int key, int velocity = 110) {
        events.push_back({tick, 3, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)}});
        events.push_back({tick + length, 2, {uint8_t(0x80 | channel), uint8_t(key), 0}});
    }

    std::vector<uint8_t> Build(uint32_t endTick) const {
        std::vector<Event> sorted = events;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
        std::vector<uint8_t> track;
        uint32_t last = 0;
        for (const Event& e : sorted) {
            AppendVarLen(track, e.tick - last);
            last = e.tick;
            track.insert(track.end(), e.bytes.begin(), e.bytes.end());
        }
        AppendVarLen(track, endTick - last);
        track.insert(track.end(), {0xFF, 0x2F, 0x00});
        std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
        file.reserve(file.size() + 4 + track.size());  // one allocation; GCC 12 at -O3 misreads the growth
        const auto n = static_cast<uint32_t>(track.size());
        file.insert(file.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
        file.insert(file.end(), track.begin(), track.end());
        return file;
    }

    uint32_t Length(uint32_t endTick) const {
        uint32_t ms = 0;
        return MidiLengthMs(Build(endTick), &ms) ? ms : 0xFFFFFFFFu;
    }

    bool Save(const std::string& path, uint32_t endTick) const {
        const std::vector<uint8_t> bytes = Build(endTick);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    }
};
