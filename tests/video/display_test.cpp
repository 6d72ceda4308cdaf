// The sprite blitter's clipping and modes, the image loader's acceptance and refusal, and the
// reload of every surface after the display was lost. Where the game's fills and numbers land is
// the golden traces'.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/game.h"
#include "test_support.h"
#include "video/display.h"

namespace {

// A private 96 x 32 sheet whose pixel (x, y) holds 1 + (x + 96 y) mod 250 (never 0 or 254),
// keyed on 254.
class BlitterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        if (!sheet_) {
            sheet_ = PlatCreateSurface(96, 32);
            PlatSetColourKey(sheet_, COLOUR_KEY_INDEX);
        }
        uint8_t* bits = nullptr;
        int pitch = 0;
        ASSERT_TRUE(PlatLockSurface(sheet_, &bits, &pitch));
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 96; ++x) bits[y * pitch + x] = static_cast<uint8_t>(Sheet(x, y));
        }
        PlatUnlockSurface(sheet_);
        PlatColourFill(g_fieldSurface, nullptr, 0);
    }
    static int Field(int x, int y) {
        int pitch = 0;
        return PlatSurfacePixels(g_fieldSurface, &pitch)[y * pitch + x];
    }
    static int Sheet(int x, int y) { return 1 + (x + 96 * y) % 250; }
    static int Inked() {
        int pitch = 0;
        const uint8_t* p = PlatSurfacePixels(g_fieldSurface, &pitch);
        int n = 0;
        for (int i = 0; i < FIELD_WIDTH * FIELD_HEIGHT; ++i) n += p[i] != 0;
        return n;
    }
    static Surface* sheet_;
};

Surface* BlitterTest::sheet_ = nullptr;

// Each sprite (16 x 16 from the sheet's corner unless narrower), the pixels it inks, and one
// landed pixel with the sheet pixel it must hold.
TEST_F(BlitterTest, ClipsAtEveryEdgeByTrimmingTheSource) {
    const struct {
        int left, top, right, bottom, mode, inked, x, y, sheetX, sheetY;
    } sprites[] = {
        {-8, -8, 8, 8, 0, 64, 0, 0, 8, 8},            // top-left: the bottom-right quarter lands at (0, 0)
        {-8, -8, 8, 8, 0, 64, 7, 7, 15, 15},          //
        {192, 232, 208, 248, 0, 64, 199, 239, 7, 7},  // bottom-right: the top-left quarter
        {199, 0, 207, 8, 0, 8, 199, 3, 0, 3},         // an 8 x 8 sprite at x 199: one column
        // Wholly outside (each edge just touching the field's), or in an unknown mode: nothing.
        {10, -16, 26, 0, 1, 0, 0, 0, 0, 0},
        {200, 10, 216, 26, 1, 0, 0, 0, 0, 0},
        {-16, 10, 0, 26, 1, 0, 0, 0, 0, 0},
        {10, 240, 26, 256, 1, 0, 0, 0, 0, 0},
        {10, 10, 26, 26, 2, 0, 0, 0, 0, 0},
    };
    for (const auto& c : sprites) {
        SCOPED_TRACE(testing::Message() << "sprite at " << c.left << "," << c.top);
        PlatColourFill(g_fieldSurface, nullptr, 0);
        const int size = c.right - c.left;
        EXPECT_EQ(DrawSprite(c.left, c.top, c.right, c.bottom, sheet_, 0, 0, size, size, c.mode), 1);
        EXPECT_EQ(Inked(), c.inked);
        if (c.inked) {
            EXPECT_EQ(Field(c.x, c.y), Sheet(c.sheetX, c.sheetY));
        }
    }
}

TEST_F(BlitterTest, ColourKeyModeSkipsIndex254AndOpaqueModeCopiesIt) {
    uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_TRUE(PlatLockSurface(sheet_, &bits, &pitch));
    bits[0] = COLOUR_KEY_INDEX;
    PlatUnlockSurface(sheet_);
    PlatColourFill(g_fieldSurface, nullptr, 7);
    EXPECT_TRUE(DrawSprite(20, 30, 22, 32, sheet_, 0, 0, 2, 2, 1));
    EXPECT_EQ(Field(20, 30), 7);
    EXPECT_EQ(Field(21, 30), Sheet(1, 0));
    EXPECT_TRUE(DrawSprite(20, 30, 22, 32, sheet_, 0, 0, 2, 2, 0));
    EXPECT_EQ(Field(20, 30), COLOUR_KEY_INDEX);
}

TEST_F(BlitterTest, KeyedCopiesOfEveryWidthAndPlaceLeaveExactlyTheKeyedPixels) {
    // A sheet with the key scattered over it, and a field of its own noise: every width from 1 to
    // 40 (the vector steps, their overlapping tails and the narrow sprites), at several offsets
    // and up to the field's right edge, must give what a pixel-by-pixel keyed copy gives.
    uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_TRUE(PlatLockSurface(sheet_, &bits, &pitch));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 96; ++x) {
            if ((x * 7 + y * 3) % 5 == 0) bits[y * pitch + x] = COLOUR_KEY_INDEX;
        }
    }
    PlatUnlockSurface(sheet_);
    std::vector<uint8_t> expected(FIELD_WIDTH * FIELD_HEIGHT);
    for (int width = 1; width <= 40; ++width) {
        for (int x : {0, 3, 17, FIELD_WIDTH - width}) {
            for (int sourceX : {0, 5, 96 - width}) {
                const int y = width % 7, height = 1 + width % 4;
                ASSERT_TRUE(PlatLockSurface(g_fieldSurface, &bits, &pitch));
                for (int i = 0; i < FIELD_WIDTH * FIELD_HEIGHT; ++i) bits[i] = static_cast<uint8_t>(i * 37 % 251);
                PlatUnlockSurface(g_fieldSurface);
                const uint8_t* field = PlatSurfacePixels(g_fieldSurface, &pitch);
                expected.assign(field, field + FIELD_WIDTH * FIELD_HEIGHT);
                const uint8_t* sheet = PlatSurfacePixels(sheet_, nullptr);
                for (int row = 0; row < height; ++row) {
                    for (int col = 0; col < width; ++col) {
                        const uint8_t s = sheet[(3 + row) * 96 + sourceX + col];
                        if (s != COLOUR_KEY_INDEX) expected[(y + row) * FIELD_WIDTH + x + col] = s;
                    }
                }
                const PlatRect source{sourceX, 3, sourceX + width, 3 + height};
                ASSERT_EQ(PlatBltFast(g_fieldSurface, x, y, sheet_, source, true), BLIT_OK);
                field = PlatSurfacePixels(g_fieldSurface, &pitch);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), field))
                    << "width " << width << " at " << x << " from " << sourceX;
            }
        }
    }
}

// ---- the image loader

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

// The top row lands at row zero, the palette comes from the table, and a smaller picture leaves
// the rest of the surface as it was; what it cannot read leaves the surface alone.
TEST_F(LoaderTest, ReadsEightBitPicturesTopRowFirstAndRefusesTheRest) {
    WriteWholeFile("small.bmp", Bitmap(8, 4, 8, 5, 6));
    ASSERT_EQ(LoadImageFile(surface_, "small.bmp"), 1);
    EXPECT_EQ(Pixel(0, 0), 5);
    EXPECT_EQ(Pixel(7, 3), 6);
    EXPECT_EQ(Pixel(8, 0), 99);
    EXPECT_EQ(Pixel(0, 4), 99);
    const PaletteEntry* p = PlatGetPalette(surface_);
    EXPECT_EQ(p[10].blue, 10);
    EXPECT_EQ(p[10].green, 245);
    EXPECT_EQ(p[10].red, 5);

    PlatColourFill(surface_, nullptr, 99);
    WriteWholeFile("deep.bmp", Bitmap(16, 8, 24, 5, 6));
    WriteWholeFile("empty.bmp", "");
    WriteWholeFile("header-only.bmp", Bitmap(16, 8, 8, 5, 6).substr(0, 60));
    for (const char* name : {"deep.bmp", "no-such-file.dat", "empty.bmp", "header-only.bmp"}) {
        EXPECT_EQ(LoadImageFile(surface_, name), 0) << name;
    }
    EXPECT_EQ(Pixel(0, 0), 99);
}

// The loader's limit is far beyond any surface; the header is checked before a pixel is read, and
// a FIFO under a picture's name is refused without waiting on it.
TEST_F(LoaderTest, RefusesPicturesBeyondTheLimitAndSpecialFiles) {
    WriteWholeFile("wide.bmp", Bitmap(MAX_IMAGE_SIDE, 1, 8, 5, 6));
    EXPECT_TRUE(LoadImageFile(surface_, "wide.bmp"));
    EXPECT_EQ(Pixel(15, 0), 5);
    WriteWholeFile("tall.bmp", Bitmap(4, MAX_IMAGE_SIDE, 8, 5, 6));
    EXPECT_TRUE(LoadImageFile(surface_, "tall.bmp"));
    // One pixel more, or a header that only claims it: refused with the reason.
    for (const std::string& bitmap : {Bitmap(MAX_IMAGE_SIDE + 1, 1, 8, 5, 6), Bitmap(1, MAX_IMAGE_SIDE + 1, 8, 5, 6),
                                      Bitmap(MAX_IMAGE_SIDE + 1, 1, 8, 5, 6).substr(0, 1079)}) {
        WriteWholeFile("big.bmp", bitmap);
        EXPECT_FALSE(LoadImageFile(surface_, "big.bmp"));
        EXPECT_STREQ(g_failedImageReason, "is a picture larger than 4096 x 4096 pixels");
    }
    // A short file reads as zeros after its end, as long as a byte of pixels is there.
    const std::string whole = Bitmap(16, 8, 8, 5, 6);
    WriteWholeFile("short.bmp", whole.substr(0, whole.size() - 16 * 8 + 1));
    ASSERT_TRUE(LoadImageFile(surface_, "short.bmp"));
    EXPECT_EQ(Pixel(0, 7), 6);
    EXPECT_EQ(Pixel(1, 7), 0);
    EXPECT_EQ(Pixel(0, 0), 0);
    ASSERT_EQ(mkfifo("fifo.bmp", 0644), 0);
    EXPECT_FALSE(LoadImageFile(surface_, "fifo.bmp"));
    EXPECT_STREQ(g_failedImageFile, "fifo.bmp");
    EXPECT_STREQ(g_failedImageReason, "is not a regular file (a FIFO, device or socket)");
    std::remove("fifo.bmp");
}

// After the display was lost, the next blit restores every surface and reloads its file: the
// screen palette is set again from palette.dat and a scribbled sheet is whole again.
TEST(DisplayRestore, ALostDisplayIsReloadedFromItsFiles) {
    SetUpHeadlessGame();
    const PaletteEntry original = PlatGetPalette(g_primarySurface)[15];
    PaletteEntry changed[256];
    std::memcpy(changed, PlatGetPalette(g_primarySurface), sizeof changed);
    changed[15].red = static_cast<uint8_t>(original.red + 1);
    PlatSetPalette(g_primarySurface, changed);
    uint8_t* bits = nullptr;
    int pitch = 0;
    ASSERT_TRUE(PlatLockSurface(g_sheetB, &bits, &pitch));
    const uint8_t saved = bits[0];
    bits[0] = static_cast<uint8_t>(saved + 1);
    PlatUnlockSurface(g_sheetB);

    PlatMarkAllSurfacesLost();
    EXPECT_EQ(DrawSprite(0, 0, 8, 8, g_sheetB, 0, 0, 8, 8, 0), 1);
    EXPECT_FALSE(PlatIsSurfaceLost(g_primarySurface));
    EXPECT_EQ(PlatGetPalette(g_primarySurface)[15].red, original.red);
    EXPECT_EQ(PlatSurfacePixels(g_sheetB, nullptr)[0], saved);

    // A surface that cannot be restored yet is passed over: the sprite is simply missing. (A
    // reload that fails abandons the frame: frame_test.)
    PlatMarkAllSurfacesLost();
    PlatSetRestoreFails(true);
    EXPECT_EQ(DrawSprite(0, 0, 8, 8, g_sheetB, 0, 0, 8, 8, 0), 1);
    PlatSetRestoreFails(false);
}

}  // namespace
