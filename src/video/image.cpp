// The image loader: uncompressed 8-bit Windows bitmaps stored under .dat names. The reader is
// deliberately simple and keeps the original's assumptions: the pixels start right after a full
// 256-entry colour table, rows are exactly `width` bytes, the bottom row comes first, and only
// the bit depth is checked.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "video/display.h"

char g_failedImageFile[64] = {};

namespace {

int32_t ReadLe32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

int ReadLe16(const uint8_t* p) { return p[0] | p[1] << 8; }

// Reads exactly n bytes or reports a failed read. A short read at the end of the file counts as
// a failure here only when nothing at all could be read, as the original's ReadFile did not
// compare byte counts.
bool ReadBlock(std::FILE* f, void* buffer, size_t n) {
    const size_t got = std::fread(buffer, 1, n, f);
    return got > 0 || n == 0;
}

// Keeps the name of the file that failed for the start-up's message, and fails.
bool Failed(const char* fileName) {
    std::snprintf(g_failedImageFile, sizeof g_failedImageFile, "%s", fileName);
    return false;
}

}  // namespace

bool LoadImageFile(Surface* surface, const char* fileName) {
    std::FILE* f = std::fopen(fileName, "rb");
    if (!f) {
        // Second attempt: the same name in the data folders of an installed game (the lookup the
        // music uses too), so the game also starts from any other folder.
        std::string found;
        if (PlatFindDataFile(fileName, &found)) f = std::fopen(found.c_str(), "rb");
        if (!f) return Failed(fileName);
    }
    uint8_t fileHeader[14] = {};
    uint8_t infoHeader[40] = {};
    uint8_t table[1024] = {};
    if (!ReadBlock(f, fileHeader, sizeof fileHeader) || !ReadBlock(f, infoHeader, sizeof infoHeader)) {
        std::fclose(f);
        return Failed(fileName);
    }
    const int width = ReadLe32(infoHeader + 4);
    const int height = ReadLe32(infoHeader + 8);
    if (ReadLe16(infoHeader + 14) != 8 || !ReadBlock(f, table, sizeof table)) {
        std::fclose(f);
        return Failed(fileName);
    }
    // A width or height that is not positive cannot be a picture this reader understands; an
    // absurd size would fail the allocation.
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > 64 * 1024 * 1024) {
        std::fclose(f);
        return Failed(fileName);
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 0);
    if (!ReadBlock(f, pixels.data(), pixels.size())) {
        std::fclose(f);
        return Failed(fileName);
    }
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (!PlatLockSurface(surface, &bits, &pitch)) {
        std::fclose(f);
        return Failed(fileName);
    }
    const int rows = height < PlatSurfaceHeight(surface) ? height : PlatSurfaceHeight(surface);
    const int columns = pitch < width ? pitch : width;
    for (int r = 0; r < rows; ++r) {
        std::memcpy(bits + static_cast<size_t>(r) * pitch, &pixels[static_cast<size_t>(height - 1 - r) * width],
                    static_cast<size_t>(columns));
    }
    PlatUnlockSurface(surface);
    std::fclose(f);

    PaletteEntry entries[256];
    for (int i = 0; i < 256; ++i) {
        entries[i].red = table[i * 4 + 2];
        entries[i].green = table[i * 4 + 1];
        entries[i].blue = table[i * 4 + 0];
        entries[i].flags = 0;
    }
    PlatSetPalette(surface, entries);
    return true;
}
