// The program's built-in resources: data compiled into the executable, looked up by type and
// numeric id as the game's resource calls expect ("WAVE" 101..112 for the sound effects).
#pragma once

#include <cstdint>

struct ResourceBlob {
    const char* type;
    int id;
    const uint8_t* data;
    uint32_t size;
};

// Generated at build time by assetgen (build/generated/wave_resources.cpp).
extern const ResourceBlob g_waveResources[];
extern const int g_waveResourceCount;

// Finds a built-in resource; nullptr when the program has none of that type and id.
const ResourceBlob* FindProgramResource(const char* type, int id);
