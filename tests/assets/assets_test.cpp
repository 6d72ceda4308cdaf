// Checks of the generated pictures against the atlas and the places the game draws them, and a
// generator that writes the same bytes every run.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"
#include "video/atlas.h"
#include "video/display.h"

namespace {

const std::string DATA = VORNE_DATA_DIR;

// One picture as the game loads it: indices top row first, and the attached palette.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    std::array<PaletteEntry, 256> palette{};
    uint8_t At(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
};

Picture LoadWithGame(const std::string& name, int w, int h) {
    Picture p;
    Surface* s = PlatCreateSurface(w, h);
    EXPECT_EQ(LoadImageFile(s, (DATA + "/" + name).c_str()), 1) << name;
    int pitch = 0;
    const uint8_t* bits = PlatSurfacePixels(s, &pitch);
    p.w = w;
    p.h = h;
    for (int y = 0; y < h; ++y) p.px.insert(p.px.end(), bits + y * pitch, bits + y * pitch + w);
    const PaletteEntry* pal = PlatGetPalette(s);
    if (pal)
        for (int i = 0; i < 256; ++i) p.palette[static_cast<size_t>(i)] = pal[i];
    PlatReleaseSurface(s);
    return p;
}

class Sheets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        for (int i = 0; i < 7; ++i) sheets[i] = LoadWithGame(std::string("gr") + char('A' + i) + ".dat", 320, 240);
        screen = LoadWithGame("palette.dat", 640, 480);
    }
    static const Picture& Sheet(char c) { return sheets[c - 'A']; }
    static std::array<Picture, 7> sheets;
    static Picture screen;
};
std::array<Picture, 7> Sheets::sheets;
Picture Sheets::screen;

// Every frame of every region holds shaded art, and an animation's frames differ in turn.
TEST_F(Sheets, EveryRegionFrameHoldsVisibleArtAndAnimationsMove) {
    for (const atlas::Region& r : atlas::REGIONS) {
        const Picture& s = Sheet(r.sheet);
        const auto at = [&](int f, int x, int y) { return s.At(r.x + f * r.dx + x, r.y + f * r.dy + y); };
        for (int f = 0; f < r.frames; ++f) {
            std::set<uint8_t> colours;
            int painted = 0, differ = 0;
            for (int y = 0; y < r.h; ++y)
                for (int x = 0; x < r.w; ++x) {
                    const uint8_t p = at(f, x, y);
                    if (p != COLOUR_KEY_INDEX) ++painted, colours.insert(p);
                    if (f > 0) differ += p != at(f - 1, x, y);
                }
            EXPECT_GT(painted, 0) << r.name << " frame " << f << " is empty";
            // Never one flat colour; anything of sprite size or more is shaded with several.
            EXPECT_GE(colours.size(), r.w * r.h >= 1000 ? 4u : 2u) << r.name << " frame " << f << " is too flat";
            EXPECT_TRUE(f == 0 || differ > 0) << r.name << " frames " << f - 1 << " and " << f << " are identical";
        }
    }
}

TEST_F(Sheets, OpaquePicturesNeverShowTheKeyColour) {
    const atlas::Region& splash = *atlas::FindRegion("splash");
    for (int y = 0; y < splash.h; ++y)
        for (int x = 0; x < splash.w; ++x) ASSERT_NE(Sheet('A').At(x, y), COLOUR_KEY_INDEX) << "splash " << x << "," << y;
    // The star cell looks the same drawn keyed or opaque.
    const atlas::Region& star = *atlas::FindRegion("star");
    for (int y = 0; y < star.h; ++y)
        for (int x = 0; x < star.w; ++x) EXPECT_NE(Sheet('B').At(star.x + x, star.y + y), COLOUR_KEY_INDEX);
    // The strips beside the field.
    for (int y = 0; y < 480; ++y)
        for (int x : {0, 119, 520, 639}) ASSERT_NE(screen.At(x, y), COLOUR_KEY_INDEX) << "strip " << x << "," << y;
}

TEST_F(Sheets, CompositionsFitWhereTheGameDrawsThem) {
    // Logo: the upper half's last ten rows are covered by the lower half's first ten rows.
    const atlas::Region& up = *atlas::FindRegion("titleLogoUpper");
    const atlas::Region& low = *atlas::FindRegion("titleLogoLower");
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < up.w; ++x) {
            const uint8_t u = Sheet('A').At(up.x + x, up.y + 90 + y);
            EXPECT_TRUE(u == COLOUR_KEY_INDEX || u == Sheet('A').At(low.x + x, low.y + y)) << x << "," << y;
        }
    // Boss bays: the body is transparent where its animated parts are to be seen.
    struct Bay {
        const char* body;
        int x0, y0, x1, y1;
    };
    const Bay bays[] = {{"bossOneBody", 46, 0, 82, 10},    {"bossOneBody", 10, 11, 46, 21},   {"bossOneBody", 82, 11, 118, 21},
                        {"midBossTwoBody", 30, 0, 66, 10}, {"midBossTwoBody", 2, 10, 38, 20}, {"midBossTwoBody", 58, 10, 94, 20},
                        {"bossTwoBody", 30, 42, 56, 52},   {"bossTwoBody", 73, 42, 99, 52},   {"bossTwoBody", 7, 66, 33, 76},
                        {"bossTwoBody", 96, 66, 122, 76}};
    for (const Bay& b : bays) {
        const atlas::Region& r = *atlas::FindRegion(b.body);
        int holes = 0;
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x) holes += Sheet(r.sheet).At(r.x + x, r.y + y) == COLOUR_KEY_INDEX;
        EXPECT_GE(holes * 10, (b.x1 - b.x0) * (b.y1 - b.y0) * 8) << b.body << " bay at " << b.x0 << "," << b.y0;
    }
    // The fourth boss hides its tucked pods behind its body and lets the jaw plate show below.
    const atlas::Region& four = *atlas::FindRegion("bossFourBody");
    int solid = 0, open = 0;
    for (int y = 59; y < 99; ++y)
        for (int x = 6; x < 42; ++x) solid += Sheet('E').At(four.x + x, four.y + y) != COLOUR_KEY_INDEX;
    for (int y = 101; y < 112; ++y)
        for (int x = 6; x < 42; ++x) open += Sheet('E').At(four.x + x, four.y + y) == COLOUR_KEY_INDEX;
    EXPECT_EQ(solid, 40 * 36);
    EXPECT_GE(open * 10, 11 * 36 * 8);
    // The third boss's right wing strip is the left strip's mirror image.
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 320; ++x) ASSERT_EQ(Sheet('F').At(x, 80 + y), Sheet('F').At(319 - x, y)) << x << "," << y;
}

// True when a painted pixel lies within `reach` of local point (x, y) of a region's frame.
bool PaintedNear(const Picture& s, const atlas::Region& r, int frame, int x, int y, int reach) {
    for (int v = -reach; v <= reach; ++v)
        for (int u = -reach; u <= reach; ++u) {
            const int px = x + u, py = y + v;
            if (px < 0 || py < 0 || px >= r.w || py >= r.h) continue;
            if (s.At(r.x + frame * r.dx + px, r.y + frame * r.dy + py) != COLOUR_KEY_INDEX) return true;
        }
    return false;
}

TEST_F(Sheets, HitPointsAndGunsSitOnTheArt) {
    struct Point {
        const char* region;
        int frame, x, y, reach;
    };
    // The ship's one-pixel hit point on its hull in every frame, and the muzzles where the
    // enemies' shots come from.
    const Point points[] = {
        {"shipA", 0, 11, 15, 0},
        {"shipA", 3, 11, 15, 0},
        {"shipAInvulnerable", 1, 11, 15, 0},
        {"shipB", 0, 11, 8, 0},
        {"shipB", 2, 11, 8, 0},
        {"shipBInvulnerable", 3, 11, 8, 0},
        {"bossOneBody", 0, 25, 32, 2},
        {"bossOneBody", 0, 97, 32, 2},
        {"bossOneBody", 0, 60, 44, 2},
        {"bossTwoBody", 0, 16, 81, 2},
        {"bossTwoBody", 0, 106, 81, 2},
        {"bossTwoBody", 0, 61, 72, 2},
        {"midBossTwoBody", 0, 45, 58, 2},
        {"midBossTwoBody", 0, 17, 28, 2},
        {"midBossTwoBody", 0, 73, 28, 2},
        {"midBoss", 0, 22, 29, 2},
        {"midBoss", 2, 68, 29, 2},
        {"midBoss", 1, 45, 21, 2},
        {"bossThreeCore", 0, 16, 47, 2},
        {"bossThreeLeftPart", 3, 36, 28, 3},
        {"bossThreeRightPart", 3, 38, 28, 3},
        {"bossFinalPose3", 0, 48, 95, 2},
        {"bossFinalPose3", 0, 49, 56, 2},
        {"bossFinalPose3", 0, 1, 68, 3},
        {"bossFinalPose3", 0, 97, 68, 3},
    };
    for (const Point& p : points) {
        const atlas::Region& r = *atlas::FindRegion(p.region);
        EXPECT_TRUE(PaintedNear(Sheet(r.sheet), r, p.frame, p.x, p.y, p.reach)) << p.region << " at " << p.x << "," << p.y;
    }
}

TEST_F(Sheets, EverySheetCarriesTheScreensPalette) {
    for (size_t i = 0; i < 7; ++i)
        for (size_t c = 0; c < 256; ++c) {
            const PaletteEntry &a = sheets[i].palette[c], &p = screen.palette[c];
            ASSERT_TRUE(a.red == p.red && a.green == p.green && a.blue == p.blue) << "sheet " << i << " colour " << c;
        }
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

// A fresh run of the generator writes the build's pictures again, byte for byte.
TEST(AssetGenerator, WritesTheSameBytesEveryRun) {
    char dir[] = "/tmp/vorne_assets_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(Shell(std::string(VORNE_ASSETGEN) + " --out " + dir + " > /dev/null"), 0);
    for (const char* name : {"palette.dat", "grA.dat", "grB.dat", "grC.dat", "grD.dat", "grE.dat", "grF.dat", "grG.dat"}) {
        const std::string a = ReadWholeFile(std::string(dir) + "/" + name);
        EXPECT_EQ(a, ReadWholeFile(DATA + "/" + name)) << name << " differs from the build's copy";
        // The layout the loader expects: 1078-byte header and table, then exactly w*h bytes.
        const size_t w = name[0] == 'p' ? 640 : 320, h = name[0] == 'p' ? 480 : 240;
        EXPECT_EQ(a.size(), 1078 + w * h) << name;
    }
    Shell(std::string("rm -rf ") + dir);
}

}  // namespace
