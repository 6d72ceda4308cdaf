// Lookup of the resources compiled into the executable.
#include "resources/resources.h"

#include <cstring>

const ResourceBlob* FindProgramResource(const char* type, int id) {
    for (int i = 0; i < g_waveResourceCount; ++i) {
        const ResourceBlob& blob = g_waveResources[i];
        if (blob.id == id && std::strcmp(blob.type, type) == 0) return &blob;
    }
    return nullptr;
}
