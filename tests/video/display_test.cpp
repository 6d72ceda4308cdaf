// The image loader's acceptance and refusal, and the reload of every surface after the display
// was lost. What the game draws with them is the golden traces'.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>

#include "app/game.h"
#include "test_support.h"
#include "video/display.h"

namespace {

// A BMP of the given size and depth, its palette blue i, green 255 - i, red i / 2; its top row
// holds one value, the other rows another.
std::string Bitmap(int width, int height, int bits, uint8_t firstRowValue, uint8_t otherRowsValue) {
    std::string b(54 + 1024 + width * height, '\0');
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 1078);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    b[26] = 1;
    b[28] = static_cast<char>(bits);
    for (int i = 0; i < 256; ++i) {
        b[54 + i * 4 + 0] = static_cast<char>(i);        // blue
        b[54 + i * 4 + 1] = static_cast<char>(255 - i);  // green
        b[54 + i * 4 + 2] = static_cast<char>(i / 2);    // red
    }
    // Bottom-up: the file's last row is the picture's top row.
    for (int r = 0; r < height; ++r) {
        const uint8_t v = r == height - 1 ? firstRowValue : otherRowsValue;
        for (int x = 0; x < width; ++x) b[1078 + r * width + x] = static_cast<char>(v);
    }
    return b;
}

class LoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        surface_ = PlatCreateSurface(16, 8);
        PlatColourFill(surface_, nullptr, 99);
    }
    void TearDown() override { PlatReleaseSurface(surface_); }
    int Pixel(int x, int y) {
        int pitch = 0;
        return PlatSurfacePixels(surface_, &pitch)[y * pitch + x];
    }
    Surface* surface_ = nullptr;
};

// The palette comes from the table; a file cut short reads as zeros after its end, as long as a
// byte of pixels is there. (The game's pictures as they load are the golden traces'.)
TEST_F(LoaderTest, ReadsAShortFileAsZerosAfterItsEnd) {
    const std::string whole = Bitmap(16, 8, 8, 5, 6);
    WriteWholeFile("short.bmp", whole.substr(0, whole.size() - 16 * 8 + 1));
    ASSERT_TRUE(LoadImageFile(surface_, "short.bmp"));
    EXPECT_EQ(std::make_tuple(Pixel(0, 7), Pixel(1, 7), Pixel(0, 0)), std::make_tuple(6, 0, 0));
    const PaletteEntry& p = PlatGetPalette(surface_)[10];  // the table's blue, green, red
    EXPECT_EQ(std::tie(p.blue, p.green, p.red), std::make_tuple(10, 245, 5));
}

// A picture at the side limit is taken; what the loader cannot read leaves the surface alone:
// other depths, missing or cut files, one pixel beyond the limit (even when only the header claims
// it) and a FIFO (refused without waiting on it).
TEST_F(LoaderTest, RefusesPicturesBeyondTheLimitAndSpecialFiles) {
    WriteWholeFile("wide.bmp", Bitmap(MAX_IMAGE_SIDE, 1, 8, 5, 6));
    EXPECT_TRUE(LoadImageFile(surface_, "wide.bmp"));
    EXPECT_EQ(Pixel(15, 0), 5);
    WriteWholeFile("tall.bmp", Bitmap(4, MAX_IMAGE_SIDE, 8, 5, 6));
    EXPECT_TRUE(LoadImageFile(surface_, "tall.bmp"));
    PlatColourFill(surface_, nullptr, 99);
    ASSERT_EQ(mkfifo("fifo.bmp", 0644), 0);
    const std::string big = "is a picture larger than 4096 x 4096 pixels";
    const struct {
        const char* name;
        std::string bytes, reason;
    } refused[] = {
        {"deep.bmp", Bitmap(16, 8, 24, 5, 6), ""},
        {"empty.bmp", "", ""},
        {"header-only.bmp", Bitmap(16, 8, 8, 5, 6).substr(0, 60), ""},
        {"wide.bmp", Bitmap(MAX_IMAGE_SIDE + 1, 1, 8, 5, 6), big},
        {"tall.bmp", Bitmap(1, MAX_IMAGE_SIDE + 1, 8, 5, 6), big},
        {"claims.bmp", Bitmap(MAX_IMAGE_SIDE + 1, 1, 8, 5, 6).substr(0, 1079), big},
        {"no-such-file.dat", "", ""},
        {"fifo.bmp", "", "is not a regular file (a FIFO, device or socket)"},
    };
    for (const auto& r : refused) {
        if (r.name[0] != 'n' && r.name[0] != 'f') WriteWholeFile(r.name, r.bytes);  // not the missing file or the FIFO
        EXPECT_FALSE(LoadImageFile(surface_, r.name)) << r.name;
        EXPECT_STREQ(g_failedImageFile, r.name);
        if (!r.reason.empty()) {
            EXPECT_STREQ(g_failedImageReason, r.reason.c_str()) << r.name;
        }
    }
    EXPECT_EQ(Pixel(0, 0), 99);
    std::remove("fifo.bmp");
}

// After the display was lost, the next blit restores every surface and reloads its file: the
// screen palette is set again from palette.dat and a scribbled sheet is whole again.
TEST(DisplayRestore, ALostDisplayIsReloadedFromItsFiles) {
    SetUpHeadlessGame();
    PaletteEntry changed[256];
    std::memcpy(changed, PlatGetPalette(g_primarySurface), sizeof changed);
    const uint8_t red = changed[15].red++;
    PlatSetPalette(g_primarySurface, changed);
    uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_TRUE(PlatLockSurface(g_sheetB, &bits, &pitch));
    const uint8_t saved = bits[0]++;
    PlatUnlockSurface(g_sheetB);

    PlatMarkAllSurfacesLost();
    EXPECT_EQ(DrawSprite(0, 0, 8, 8, g_sheetB, 0, 0, 8, 8, 0), 1);
    EXPECT_FALSE(PlatIsSurfaceLost(g_primarySurface));
    EXPECT_EQ(PlatGetPalette(g_primarySurface)[15].red, red);
    EXPECT_EQ(PlatSurfacePixels(g_sheetB, nullptr)[0], saved);

    // A surface that cannot be restored yet is passed over: the sprite is simply missing. (A
    // reload that fails abandons the frame: frame_test.)
    PlatMarkAllSurfacesLost();
    PlatSetRestoreFails(true);
    EXPECT_EQ(DrawSprite(0, 0, 8, 8, g_sheetB, 0, 0, 8, 8, 0), 1);
    PlatSetRestoreFails(false);
}

}  // namespace
