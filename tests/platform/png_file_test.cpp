// PNG files as the game and the asset generator write them: read back by libpng's own reader,
// every colour type gives the pixels it was given, and what cannot be written is refused rather
// than half-written. (The headless shot of the screen is e2e.window_picture's reference.)
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/png_file.h"

namespace {

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    int colourType = -1;
    std::vector<uint8_t> rgba;
};

Decoded Decode(const std::string& path) {
    Decoded d;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return d;
    d.colourType = (image.format & PNG_FORMAT_FLAG_COLORMAP) ? PNG_COLOR_TYPE_PALETTE
                   : (image.format & PNG_FORMAT_FLAG_ALPHA)  ? PNG_COLOR_TYPE_RGB_ALPHA
                                                             : PNG_COLOR_TYPE_RGB;
    image.format = PNG_FORMAT_RGBA;
    d.width = static_cast<int>(image.width);
    d.height = static_cast<int>(image.height);
    d.rgba.resize(PNG_IMAGE_SIZE(image));
    d.ok = png_image_finish_read(&image, nullptr, d.rgba.data(), 0, nullptr) != 0;
    return d;
}

std::string ScratchPng(const char* name) { return std::string("/tmp/vorne_png_") + name + ".png"; }

TEST(PngFile, EveryColourTypeReadsBackAsWritten) {
    // A 5 x 3 picture (odd width, so a row's bytes are not a multiple of 4) in a wider buffer.
    constexpr int W = 5, H = 3, PITCH = 32;
    PaletteEntry palette[256];
    for (int i = 0; i < 256; ++i) {
        palette[i] = PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 7), 0};
    }
    std::vector<uint8_t> indices(PITCH * H, 0xEE), rgb(PITCH * H, 0xEE), rgba(PITCH * H, 0xEE);
    std::vector<uint8_t> expected;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const auto index = static_cast<uint8_t>(y * 97 + x * 31);
            indices[y * PITCH + x] = index;
            const PaletteEntry& e = palette[index];
            for (int c = 0; c < 3; ++c) rgb[y * PITCH + x * 3 + c] = (&e.red)[c];
            for (int c = 0; c < 3; ++c) rgba[y * PITCH + x * 4 + c] = (&e.red)[c];
            rgba[y * PITCH + x * 4 + 3] = static_cast<uint8_t>(x * 60);
            expected.insert(expected.end(), {e.red, e.green, e.blue, 255});
        }
    }
    struct Case {
        const char* name;
        PngImage image;
        int colourType;
    };
    const Case cases[] = {{"indexed", {indices.data(), W, H, PITCH, 1, palette}, PNG_COLOR_TYPE_PALETTE},
                          {"rgb", {rgb.data(), W, H, PITCH, 3, nullptr}, PNG_COLOR_TYPE_RGB},
                          {"rgba", {rgba.data(), W, H, PITCH, 4, nullptr}, PNG_COLOR_TYPE_RGB_ALPHA}};
    for (const Case& c : cases) {
        const std::string path = ScratchPng(c.name);
        ASSERT_TRUE(PngWriteFile(path.c_str(), c.image)) << c.name;
        const Decoded d = Decode(path);
        ASSERT_TRUE(d.ok) << c.name;
        EXPECT_EQ(std::vector<int>({d.colourType, d.width, d.height}), std::vector<int>({c.colourType, W, H})) << c.name;
        std::vector<uint8_t> want = expected;
        if (c.image.channels == 4) {
            for (int i = 0; i < W * H; ++i) want[i * 4 + 3] = static_cast<uint8_t>((i % W) * 60);
        }
        EXPECT_EQ(d.rgba, want) << c.name;
        std::remove(path.c_str());
    }
}

TEST(PngFile, WhatCannotBeWrittenIsRefused) {
    uint8_t pixels[12] = {};
    const std::string path = ScratchPng("refused");
    EXPECT_FALSE(PngWriteFile(path.c_str(), PngImage{pixels, 2, 2, 2, 1, nullptr}));  // indices without a palette
    EXPECT_FALSE(PngWriteFile(path.c_str(), PngImage{pixels, 2, 2, 5, 3, nullptr}));  // rows shorter than the width
    EXPECT_FALSE(PngWriteFile(path.c_str(), PngImage{pixels, 0, 2, 6, 3, nullptr}) ||
                 PngWriteFile(path.c_str(), PngImage{pixels, 2, 2, 6, 2, nullptr}));  // no width, or two channels
    EXPECT_FALSE(PngWriteFile("/nonexistent-folder/x.png", PngImage{pixels, 2, 2, 6, 3, nullptr}));
    // A device that takes no bytes: the failure is reported, not a truncated picture called done.
    std::vector<uint8_t> big(3 * 300 * 300, 0x5A);
    EXPECT_FALSE(PngWriteFile("/dev/full", PngImage{big.data(), 300, 300, 900, 3, nullptr}));
    std::remove(path.c_str());
}

}  // namespace
