// Placeholder pictures: a grey ramp palette and sheets filled with a checker so every region is
// visible. The finished art replaces this file.
#include <cstdio>

#include "assetgen.h"

namespace {

void Put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

std::vector<uint8_t> Bmp8(int w, int h, const std::vector<uint8_t>& topDown) {
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + 1024 + w * h);
    Put32(b, 0);
    Put32(b, 54 + 1024);
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(w));
    Put32(b, static_cast<uint32_t>(h));
    Put16(b, 1);
    Put16(b, 8);
    for (int i = 0; i < 6; ++i) Put32(b, i == 4 ? 256 : 0);
    for (int i = 0; i < 256; ++i) {
        b.push_back(static_cast<uint8_t>(i));
        b.push_back(static_cast<uint8_t>(i));
        b.push_back(static_cast<uint8_t>(i));
        b.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) b.insert(b.end(), topDown.begin() + y * w, topDown.begin() + (y + 1) * w);
    return b;
}

}  // namespace

bool WriteImages(const std::string& outDir) {
    std::vector<uint8_t> pal(640 * 480);
    for (int i = 0; i < 640 * 480; ++i) pal[i] = static_cast<uint8_t>(((i % 640) / 8 + (i / 640) / 8) % 2 ? 40 : 20);
    if (!WriteFileBytes(outDir + "/palette.dat", Bmp8(640, 480, pal))) return false;
    for (char c = 'A'; c <= 'G'; ++c) {
        std::vector<uint8_t> px(320 * 240);
        for (int i = 0; i < 320 * 240; ++i) px[i] = static_cast<uint8_t>(((i % 320) / 4 + (i / 320) / 4) % 2 ? 200 : 100 + c);
        if (!WriteFileBytes(outDir + "/gr" + std::string(1, c) + ".dat", Bmp8(320, 240, px))) return false;
    }
    return true;
}

bool WriteContactSheet(const std::string&) {
    std::fprintf(stderr, "assetgen: contact sheet not available yet\n");
    return false;
}
