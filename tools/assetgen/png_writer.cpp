// PNG encoding: the image rows (each with filter byte 0) go into a zlib stream made by our own
// small deflate encoder (deflate.cpp), with the CRC and Adler checksums the format asks for.
#include "png_writer.h"

#include <algorithm>

#include "assetgen.h"
#include "deflate.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

void PutBe32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, Crc32(body.data(), body.size()));
}

// channels 3: colour type 2 (RGB); channels 4: colour type 6 (RGB with alpha).
bool WritePngChannels(const std::string& path, int w, int h, int channels, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>((w * channels + 1) * h));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels.begin() + y * w * channels, pixels.begin() + (y + 1) * w * channels);
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    const std::vector<uint8_t> packed = Deflate(raw);
    z.insert(z.end(), packed.begin(), packed.end());
    uint32_t a = 1, b = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, (b << 16) | a);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> ihdr;
    PutBe32(ihdr, static_cast<uint32_t>(w));
    PutBe32(ihdr, static_cast<uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
    Chunk(out, "IHDR", ihdr);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    return WriteFileBytes(path, out);
}

}  // namespace

bool WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgb) {
    return WritePngChannels(path, w, h, 3, rgb);
}

bool WritePngRgba(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba) {
    return WritePngChannels(path, w, h, 4, rgba);
}
