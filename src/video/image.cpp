// The image loader: uncompressed 8-bit Windows bitmaps stored under .dat names. The reader is
// deliberately simple and keeps the original's assumptions: the pixels start right after a full
// 256-entry colour table, rows are exactly `width` bytes, the bottom row comes first, and only
// the bit depth is checked. What it adds is care for hostile files: a FIFO or device under a
// sheet's name is refused without waiting on it, and the header is read and checked before the
// pixels, so a picture claiming more than MAX_IMAGE_SIDE pixels a side is refused unread.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "video/display.h"

char g_failedImageFile[64] = {};
const char* g_failedImageReason = "";

namespace {

constexpr size_t FILE_HEADER_BYTES = 14;
constexpr size_t INFO_HEADER_BYTES = 40;
constexpr size_t COLOUR_TABLE_BYTES = 1024;
constexpr size_t PIXELS_OFFSET = FILE_HEADER_BYTES + INFO_HEADER_BYTES + COLOUR_TABLE_BYTES;

constexpr const char* NOT_A_BITMAP = "is not an uncompressed 8-bit bitmap";
constexpr const char* TOO_LARGE = "is a picture larger than 4096 x 4096 pixels";
static_assert(MAX_IMAGE_SIDE == 4096, "the message above names the limit");

int32_t ReadLe32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

int ReadLe16(const uint8_t* p) { return p[0] | p[1] << 8; }

// The file's bytes, read block by block as the original read them: a block fails only when
// nothing at all is left (byte counts were not compared), and what a short block lacks is zero.
struct BlockReader {
    const uint8_t* bytes;
    size_t size;
    size_t pos = 0;

    bool Block(uint8_t* out, size_t n) {
        if (n > 0 && pos >= size) return false;
        const size_t take = n < size - pos ? n : size - pos;
        if (take > 0) std::memcpy(out, bytes + pos, take);
        std::memset(out + take, 0, n - take);
        pos += take;
        return true;
    }
};

// Keeps the name of the file that failed and why, for the start-up's message, and fails.
bool Failed(const char* fileName, const char* reason) {
    std::snprintf(g_failedImageFile, sizeof g_failedImageFile, "%s", fileName);
    g_failedImageReason = reason;
    return false;
}

// The picture's size from a complete header; false when the header says it is none this reader
// takes (problem: why).
bool PictureSize(const uint8_t* header, int* width, int* height, const char** problem) {
    *width = ReadLe32(header + FILE_HEADER_BYTES + 4);
    *height = ReadLe32(header + FILE_HEADER_BYTES + 8);
    if (ReadLe16(header + FILE_HEADER_BYTES + 14) != 8 || *width <= 0 || *height <= 0) {
        *problem = NOT_A_BITMAP;
        return false;
    }
    if (*width > MAX_IMAGE_SIDE || *height > MAX_IMAGE_SIDE) {
        *problem = TOO_LARGE;
        return false;
    }
    return true;
}

}  // namespace

bool LoadImageBytes(Surface* surface, const uint8_t* bytes, size_t size, const char** problem) {
    const char* ignored = nullptr;
    if (!problem) problem = &ignored;
    *problem = NOT_A_BITMAP;
    BlockReader reader{bytes, size};
    uint8_t header[FILE_HEADER_BYTES + INFO_HEADER_BYTES] = {};
    uint8_t table[COLOUR_TABLE_BYTES] = {};
    if (!reader.Block(header, FILE_HEADER_BYTES) || !reader.Block(header + FILE_HEADER_BYTES, INFO_HEADER_BYTES)) return false;
    int width = 0;
    int height = 0;
    if (ReadLe16(header + FILE_HEADER_BYTES + 14) != 8 || !reader.Block(table, sizeof table)) return false;
    if (!PictureSize(header, &width, &height, problem)) return false;
    // The pixels: at least one byte of them; a short file reads as zeros after its end.
    if (reader.pos >= size) return false;
    const uint8_t* pixels = bytes + reader.pos;
    const size_t available = size - reader.pos;

    uint8_t* bits = nullptr;
    int pitch = 0;
    if (!PlatLockSurface(surface, &bits, &pitch)) {
        *problem = "could not be copied: its surface is busy";
        return false;
    }
    const int rows = height < PlatSurfaceHeight(surface) ? height : PlatSurfaceHeight(surface);
    const int columns = pitch < width ? pitch : width;
    for (int r = 0; r < rows; ++r) {
        // Surface row r comes from the file's row height - 1 - r (the file is bottom-up).
        const size_t from = static_cast<size_t>(height - 1 - r) * static_cast<size_t>(width);
        const size_t present = from >= available ? 0 : std::min(available - from, static_cast<size_t>(columns));
        uint8_t* row = bits + static_cast<size_t>(r) * static_cast<size_t>(pitch);
        if (present > 0) std::memcpy(row, pixels + from, present);
        std::memset(row + present, 0, static_cast<size_t>(columns) - present);
    }
    PlatUnlockSurface(surface);

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

bool LoadImageFile(Surface* surface, const char* fileName) {
    PlatReadFile file;
    FileStatus status = PlatOpenForReading(fileName, &file);
    if (status == FILE_MISSING) {
        // Second attempt: the same name in the data folders of an installed game (the lookup the
        // music uses too), so the game also starts from any other folder.
        std::string found;
        if (PlatFindDataFile(fileName, &found)) status = PlatOpenForReading(found.c_str(), &file);
    }
    if (status != FILE_OK) {
        static std::string reason;  // the text of the last failure, for the start-up's message
        reason = PlatFileStatusText(status);
        return Failed(fileName, reason.c_str());
    }
    // The header first; the pixels only for a picture this reader takes, and no more of them
    // than the picture holds.
    std::vector<uint8_t> bytes(PIXELS_OFFSET);
    long got = PlatReadBytes(&file, bytes.data(), PIXELS_OFFSET);
    int width = 0;
    int height = 0;
    const char* problem = NOT_A_BITMAP;
    if (got == static_cast<long>(PIXELS_OFFSET) && PictureSize(bytes.data(), &width, &height, &problem)) {
        bytes.resize(PIXELS_OFFSET + static_cast<size_t>(width) * static_cast<size_t>(height));
        const long more = PlatReadBytes(&file, bytes.data() + PIXELS_OFFSET, bytes.size() - PIXELS_OFFSET);
        got = more < 0 ? -1 : got + more;
    } else if (problem == TOO_LARGE) {
        got = -1;
    }
    PlatCloseFile(&file);
    if (got < 0) return Failed(fileName, problem == TOO_LARGE ? TOO_LARGE : "cannot be read");
    if (!LoadImageBytes(surface, bytes.data(), static_cast<size_t>(got), &problem)) return Failed(fileName, problem);
    return true;
}
