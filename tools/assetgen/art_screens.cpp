// The big pictures: the splash (the interceptor against the gas giant Vorne), the title logo
// in two halves that close like a visor, the game-over panels, the story lines between the
// rounds, the six ending pictures with our credits, and palette.dat's picture for the strips
// beside the field (a dim cockpit frame with a reminder of the controls).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "art.h"

namespace art {

namespace {

// Chrome lettering: a sky ramp above the horizon line, a warm ramp below it, a highlight on the
// top-left edges. Used by the logo, the game-over panels and the last ending picture.
void Chrome(Canvas& c, const Mask& m, uint8_t sky, uint8_t ground, int y0, int y1) {
    for (int y = 0; y < m.h; ++y)
        for (int x = 0; x < m.w; ++x) {
            if (!m.Get(x, y)) continue;
            const float t = static_cast<float>(y - y0) / static_cast<float>(std::max(1, y1 - y0));
            int p;
            if (t < 0.5f)
                p = sky + 7 - static_cast<int>(t * 2 * 4.5f);
            else if (t < 0.58f)
                p = ground + 1;
            else
                p = ground + 3 + static_cast<int>((t - 0.58f) / 0.42f * 4.0f);
            p = std::min(p, (t < 0.5f ? sky : ground) + 7);
            if (!m.Get(x - 1, y) || !m.Get(x, y - 1))
                p = (t < 0.5f ? sky : ground) + 7;
            else if (!m.Get(x + 1, y) || !m.Get(x, y + 1))
                p = (t < 0.5f ? sky : ground) + 2;
            c.Set(x, y, static_cast<uint8_t>(p));
        }
}

// Heavy 8x9 capitals for the logo and the big words, drawn at two by four (or one by two)
// pixels per cell.
struct HeavyGlyph {
    char c;
    const char* rows[9];
};

const HeavyGlyph HEAVY[] = {
    {'V', {"##....##", "##....##", "##....##", ".##..##.", ".##..##.", ".##..##.", "..####..", "..####..", "...##..."}},
    {'O', {".######.", "###..###", "##....##", "##....##", "##....##", "##....##", "##....##", "###..###", ".######."}},
    {'R', {"#######.", "##....##", "##....##", "##...###", "#######.", "##..##..", "##...##.", "##....##", "##....##"}},
    {'N', {"##....##", "###...##", "####..##", "##.##.##", "##..####", "##...###", "##....##", "##....##", "##....##"}},
    {'E', {"########", "##......", "##......", "##......", "#######.", "##......", "##......", "##......", "########"}},
    {'G', {".######.", "###..###", "##......", "##......", "##..####", "##....##", "##....##", "###..###", ".######."}},
    {'A', {"..####..", ".##..##.", "##....##", "##....##", "########", "##....##", "##....##", "##....##", "##....##"}},
    {'M', {"##....##", "###..###", "########", "##.##.##", "##....##", "##....##", "##....##", "##....##", "##....##"}},
    {'T', {"########", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...", "...##...", "...##..."}},
    {'H', {"##....##", "##....##", "##....##", "##....##", "########", "##....##", "##....##", "##....##", "##....##"}},
    {'D', {"######..", "##...##.", "##....##", "##....##", "##....##", "##....##", "##....##", "##...##.", "######.."}},
};

// Adds a word in heavy capitals to a mask; cells are sx by sy pixels, letters `advance` apart.
void HeavyText(Mask& m, int x, int y, const char* text, int sx, int sy, int advance) {
    for (const char* p = text; *p; ++p, x += advance) {
        for (const HeavyGlyph& g : HEAVY) {
            if (g.c != *p) continue;
            for (int row = 0; row < 9; ++row)
                for (int col = 0; col < 8; ++col)
                    if (g.rows[row][col] == '#') Rect(m, x + col * sx, y + row * sy, x + col * sx + sx, y + row * sy + sy);
        }
    }
}

int HeavyWidth(const char* text, int sx, int advance) {
    const int n = static_cast<int>(std::strlen(text));
    return n == 0 ? 0 : (n - 1) * advance + 8 * sx;
}

// ---- splash

void StarField(Canvas& c, int count, uint32_t seed, int x0, int x1) {
    Rng rng(seed);
    for (int k = 0; k < count; ++k) {
        const int x = rng.Range(x0, x1 - 1), y = rng.Range(0, c.h - 1);
        const int kind = rng.Range(0, 9);
        if (kind < 6)
            c.Set(x, y, static_cast<uint8_t>(SPACE + 6 + kind));
        else if (kind < 9)
            c.Set(x, y, static_cast<uint8_t>(UICYAN + 3 + kind - 6));
        else {
            c.Set(x, y, WHITE);
            c.Set(x - 1, y, UICYAN + 3), c.Set(x + 1, y, UICYAN + 3), c.Set(x, y - 1, UICYAN + 3), c.Set(x, y + 1, UICYAN + 3);
        }
    }
}

// The gas giant: banded, lit from the top left, with its ring crossing in front of it.
void GasGiant(Canvas& c, float cx, float cy, float r, bool dim) {
    const float tilt = -0.35f;
    static const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    auto ringAt = [&](float px, float py, bool front) {
        // Ring plane: an ellipse with the planet's tilt; front half is below the centre line.
        const float ca = std::cos(tilt), sa = std::sin(tilt);
        const float u = (px - cx) * ca + (py - cy) * sa, v = -(px - cx) * sa + (py - cy) * ca;
        const float d = std::sqrt(u * u + (v * 4.2f) * (v * 4.2f));
        if (front != (v > 0)) return -1.0f;
        if (d < r * 1.22f || d > r * 1.62f) return -1.0f;
        return (d - r * 1.22f) / (r * 0.4f);
    };
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const float dx = (px - cx) / r, dy = (py - cy) / r;
            const float d2 = dx * dx + dy * dy;
            const float behind = ringAt(px, py, false);
            if (d2 > 1.0f) {
                if (behind >= 0 && !dim) {
                    const int band = static_cast<int>(behind * 7) % 3;
                    c.Set(x, y, static_cast<uint8_t>(BONE + 2 + band));
                }
                continue;
            }
            const float z = std::sqrt(1.0f - d2);
            float light = (-dx * 0.55f - dy * 0.45f + z * 0.7f);
            // Bands follow the tilt; turbulence bends them.
            const float lat = dy * std::cos(tilt) - dx * std::sin(tilt);
            const float wave = std::sin(lat * 17.0f + std::sin(dx * 6.0f + lat * 3.0f) * 1.3f);
            float shade = 1.0f + std::clamp(light, 0.0f, 1.0f) * 5.5f + wave * 0.7f;
            if (dim) shade -= 2.0f;
            shade += (static_cast<float>(BAYER[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
            const int s = std::clamp(static_cast<int>(std::lround(shade)), 0, 7);
            const uint8_t ramp = (light < 0.25f) ? ROSE : AMBER;
            c.Set(x, y, static_cast<uint8_t>(ramp + s));
            const float front = ringAt(px, py, true);
            if (front >= 0 && !dim) c.Set(x, y, static_cast<uint8_t>(BONE + 3 + static_cast<int>(front * 7) % 3));
        }
    if (!dim)
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const float f = ringAt(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, true);
                const float dx = (static_cast<float>(x) + 0.5f - cx) / r, dy = (static_cast<float>(y) + 0.5f - cy) / r;
                if (f >= 0 && dx * dx + dy * dy > 1.0f) c.Set(x, y, static_cast<uint8_t>(BONE + 3 + static_cast<int>(f * 7) % 3));
            }
}

// The interceptor at three times its in-game size, climbing away from the planet.
void BigInterceptor(Canvas& c, float ox, float oy) {
    const float s = 3.0f;
    auto P = [&](std::initializer_list<float> pts) {
        std::vector<float> v(pts);
        for (size_t i = 0; i < v.size(); i += 2) v[i] = ox + v[i] * s, v[i + 1] = oy + v[i + 1] * s;
        return v;
    };
    Mask hull(c);
    auto poly = [&](std::initializer_list<float> pts) {
        const std::vector<float> v = P(pts);
        // Left half and its mirror about the ship's axis (x = 12).
        std::vector<float> m = v;
        for (size_t i = 0; i < m.size(); i += 2) m[i] = 2 * (ox + 12 * s) - m[i];
        Mask a(c), b(c);
        switch (v.size()) {
            case 10:
                Poly(a, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]});
                Poly(b, {m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9]});
                break;
            default: break;
        }
        Add(hull, a);
        Add(hull, b);
    };
    poly({12, 0, 9.6f, 5, 9, 12, 9, 19, 12, 19});
    poly({10, 8, 1.5f, 15.5f, 1, 19, 4.5f, 19, 10, 16.5f});
    Rect(hull, static_cast<int>(ox + 1 * s), static_cast<int>(oy + 12 * s), static_cast<int>(ox + 3 * s),
         static_cast<int>(oy + 20 * s));
    Rect(hull, static_cast<int>(ox + 21 * s), static_cast<int>(oy + 12 * s), static_cast<int>(ox + 23 * s),
         static_cast<int>(oy + 20 * s));
    Ellipse(hull, ox + 8.3f * s, oy + 17.2f * s, 2.2f * s, 3.6f * s);
    Ellipse(hull, ox + 15.7f * s, oy + 17.2f * s, 2.2f * s, 3.6f * s);
    // Engine plumes first, so the hull sits over them.
    for (int k = 0; k < 2; ++k) {
        const float ex = ox + (k == 0 ? 8.3f : 15.7f) * s;
        Glow(c, ex, oy + 22 * s, 4.5f, 13, CYAN, 7, 2);
        Glow(c, ex, oy + 21 * s, 2.5f, 6, CYAN, 7, 5);
    }
    Shade(c, hull, NAVY, ShadeOptions{5.0f});
    Mask canopy(c);
    Ellipse(canopy, ox + 12 * s, oy + 9.5f * s, 1.7f * s, 3.4f * s);
    Shade(c, canopy, CYAN, ShadeOptions{3.0f, true, false, 1.0f, 1});
    for (int i = 0; i < 15; ++i) {
        c.SetOn(static_cast<int>(ox + 8 * s) - i, static_cast<int>(oy + 12 * s) + i, CYAN + 5);
        c.SetOn(static_cast<int>(ox + 16 * s) + i - 1, static_cast<int>(oy + 12 * s) + i, CYAN + 4);
    }
    Greebles(c, static_cast<int>(ox), static_cast<int>(oy), static_cast<int>(ox + 72), static_cast<int>(oy + 72), NAVY, 30, 77,
             false);
}

void PaintSplash(Canvas& a) {
    Canvas s(200, 240, CLEAR);
    // Deep space: a vertical wash from navy into violet haze near the planet.
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 200; ++x) {
            const int band = (y + ((x * 7 + y * 3) % 5)) / 40;
            s.Set(x, y, static_cast<uint8_t>(band <= 0 ? CLEAR : SPACE + std::min(band - 1, 3)));
        }
    StarField(s, 260, 42, 0, 200);
    GasGiant(s, 146, 196, 78, false);
    BigInterceptor(s, 34, 36);
    // A credit line at the bottom, on a dark band.
    FillRect(s, 0, 226, 200, 240, PLATE_DARK);
    FillRect(s, 0, 226, 200, 227, NAVY + 2);
    uint8_t rows[7];
    RampRows(rows, UIGOLD, 7, 4);
    DrawTextShadowed(s, 0, 200, 230, "VORNE TEAM PRESENTS", rows, BLACK);
    // The splash is copied opaque: no pixel may keep the transparent index.
    for (uint8_t& p : s.px)
        if (p == KEY) p = CLEAR;
    PutFrame(a, "splash", 0, s);
}

// ---- title logo: a 90 x 190 picture cut into a top half (rows 0..99) and a bottom half
// (rows 90..189); the ten shared rows are identical in both, so the closed logo is seamless.
void PaintLogo(Canvas& a) {
    Canvas logo(90, 190);
    // Crest: a winged chevron above the name.
    ShadeMirrored(logo, {45, 4, 33, 20, 4, 34, 2, 44, 30, 40, 45, 58}, STEEL, ShadeOptions{3.0f});
    ShadePoly(logo, {45, 16, 38, 30, 45, 46, 52, 30}, CYAN, ShadeOptions{2.0f, true, false, 1.0f, 1});
    for (int i = 0; i < 22; ++i) logo.SetOn(8 + i, 37 - i / 3, CYAN + 5), logo.SetOn(81 - i, 37 - i / 3, CYAN + 4);
    // Visor plate behind the letters, split by the seam.
    ShadePoly(logo, {8, 64, 82, 64, 89, 78, 89, 118, 82, 130, 8, 130, 0, 118, 0, 78}, NAVY,
              ShadeOptions{3.0f, true, false, 1.0f, -2});
    for (int y = 68; y < 127; y += 3) DrawLine(logo, 3, y, 86, y, NAVY + 1, true);
    // The name.
    Mask letters(logo);
    HeavyText(letters, 1, 76, "VORNE", 2, 4, 18);
    Canvas name(90, 190);
    Chrome(name, letters, ICE, BRONZE, 76, 112);
    OuterOutline(name, NAVY + 0, true);
    Blit(logo, name, 0, 0);
    // Subtitle and the chin chevron below.
    uint8_t rows[7];
    RampRows(rows, UICYAN, 7, 4);
    DrawTextShadowed(logo, 0, 90, 138, "INTERCEPTOR", rows, BLACK);
    ShadePoly(logo, {10, 152, 45, 168, 80, 152, 80, 160, 45, 184, 10, 160}, STEEL, ShadeOptions{2.5f});
    ShadePoly(logo, {38, 166, 45, 170, 52, 166, 45, 176}, RED, ShadeOptions{1.5f, true, false, 1.0f, 1});
    const atlas::Region& upper = R("titleLogoUpper");
    const atlas::Region& lower = R("titleLogoLower");
    CopyRect(a, logo, 0, 0, 90, 100, upper.x, upper.y);
    CopyRect(a, logo, 0, 90, 90, 100, lower.x, lower.y);
}

// ---- game over: two heavy chrome words, one per panel.
void PaintGameOver(Canvas& c) {
    const char* words[2] = {"GAME", "OVER"};
    const char* regions[2] = {"gameOverPanel0", "gameOverPanel1"};
    for (int k = 0; k < 2; ++k) {
        Canvas p(100, 50);
        Mask m(p);
        const int w = HeavyWidth(words[k], 2, 19);
        HeavyText(m, (100 - w) / 2 + (k == 0 ? 5 : -5), 7, words[k], 2, 4, 19);
        Chrome(p, m, BLOOD, UIGOLD, 7, 43);
        OuterOutline(p, BLOOD + 0, true);
        // Speed lines trailing from the side each panel slides in from.
        for (int y = 16; y < 36; y += 5)
            for (int x = 0; x < 16; ++x) {
                const int px = k == 0 ? x : 99 - x;
                if (p.Get(px, y) == KEY && x % 3 != 2) p.Set(px, y, static_cast<uint8_t>(BLOOD + 1 + x / 6));
            }
        PutFrame(c, regions[k], 0, p);
    }
}

// ---- story lines and ending pictures
void StoryLine(Canvas& sheet, const char* region, const char* text, uint8_t ramp) {
    Canvas line(200, 15);
    uint8_t rows[7];
    RampRows(rows, ramp, 7, 4);
    DrawTextShadowed(line, 0, 200, 4, text, rows, BLACK);
    PutFrame(sheet, region, 0, line);
}

void PaintStory(Canvas& e, Canvas& f) {
    static const char* const ROUND1[5] = {
        "THE ARMADA'S HEART IS SILENT.", "BUT THE RINGS OF VORNE GLOW.", "FROM THE WRECKS, THE SHIPS",
        "REBUILD THEMSELVES, ANGRIER.",  "THE INTERCEPTOR TURNS BACK.",
    };
    static const char* const ROUND2[5] = {
        "THE REBORN ARMADA BREAKS.",     "DEEP IN THE RINGS OF VORNE", "SOMETHING OLDER OPENS AN EYE:",
        "THE CORE THAT BUILT THEM ALL.", "END IT HERE. END IT NOW.",
    };
    for (int k = 0; k < 5; ++k) {
        StoryLine(f, ("storyRound1Line" + std::to_string(k)).c_str(), ROUND1[k], GREY);
        StoryLine(e, ("storyRound2Line" + std::to_string(k)).c_str(), ROUND2[k], k == 4 ? BLOOD : UIGOLD);
    }
}

Canvas EndingText(const char* top, const char* bottom, uint8_t topRamp, uint8_t bottomRamp) {
    Canvas c(150, 30);
    uint8_t rows[7];
    RampRows(rows, topRamp, 7, 4);
    DrawTextShadowed(c, 0, 150, 4, top, rows, BLACK);
    RampRows(rows, bottomRamp, 7, 4);
    DrawTextShadowed(c, 0, 150, 18, bottom, rows, BLACK);
    return c;
}

void PaintEnding(Canvas& g) {
    // 0: the core goes dark, with the planet's limb behind the words.
    Canvas e0(150, 30);
    GasGiant(e0, 75, 190, 165, true);
    for (uint8_t& p : e0.px)
        if (p != KEY && p >= ROSE && p < ROSE + 8) p = KEY;
    Canvas words0 = EndingText("THE CORE GOES DARK.", "THE RINGS FALL QUIET.", GREY, UICYAN);
    Blit(e0, words0, 0, 0);
    PutFrame(g, "ending0", 0, e0);
    // 1: the interceptor heads home.
    Canvas e1 = EndingText("ONE SHIP TURNS FOR", "THE STATION. HOME.", GREY, UICYAN);
    // A small interceptor heading right, its exhaust trailing behind.
    for (int x = 1; x < 9; ++x) e1.Set(x, 15, static_cast<uint8_t>(CYAN + 1 + x * 6 / 9));
    ShadePoly(e1, {24, 15, 17, 12.5f, 11, 8, 9, 9, 12, 13, 9, 15, 12, 17, 9, 21, 11, 22, 17, 17.5f}, NAVY, ShadeOptions{1.5f});
    e1.Set(18, 14, CYAN + 6), e1.Set(19, 14, CYAN + 5), e1.Set(9, 15, CYAN + 7);
    PutFrame(g, "ending1", 0, e1);
    PutFrame(g, "ending2", 0, EndingText("GAME DESIGN & CODE", "THE VORNE TEAM", UICYAN, UIGOLD));
    PutFrame(g, "ending3", 0, EndingText("ART, MUSIC & SOUND", "THE VORNE TEAM", UICYAN, UIGOLD));
    PutFrame(g, "ending4", 0, EndingText("THANK YOU", "FOR PLAYING VORNE", UIGOLD, GREY));
    // 5: THE END in chrome, the picture that stays.
    Canvas e5(150, 30);
    Mask m(e5);
    HeavyText(m, (150 - HeavyWidth("THE END", 2, 18)) / 2, 1, "THE END", 2, 2, 18);
    Chrome(e5, m, ICE, BRONZE, 1, 19);
    OuterOutline(e5, NAVY + 0, true);
    for (int x = 10; x < 140; ++x)
        if (e5.Get(x, 25) == KEY) e5.Set(x, 25, (x % 4 == 0) ? UIGOLD + 5 : UIGOLD + 2);
    PutFrame(g, "ending5", 0, e5);
}

}  // namespace

void PaintScreens(Canvas& a, Canvas& c, Canvas& e, Canvas& f, Canvas& g) {
    PaintSplash(a);
    PaintLogo(a);
    PaintGameOver(c);
    PaintStory(e, f);
    PaintEnding(g);
}

// palette.dat's picture: only the strips x 0..119 and 520..639 are ever seen. They are painted
// at half resolution and doubled, so their pixels match the field's doubled pixels.
void PaintStrips(Canvas& screen) {
    Canvas half(320, 240, CLEAR);
    // A slow wash from the navy of the field into violet haze, ordered-dithered.
    static const int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const float v =
                static_cast<float>(y) / 240.0f * 2.4f + (static_cast<float>(BAYER[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
            const int level = std::clamp(static_cast<int>(std::lround(v)), 0, 2);
            half.Set(x, y, static_cast<uint8_t>(level == 0 ? CLEAR : NEBULA + level - 1));
        }
    StarField(half, 60, 9, 0, 60);
    StarField(half, 60, 10, 260, 320);
    for (uint8_t& p : half.px)
        if (p == WHITE || p >= UICYAN + 5) p = SPACE + 9;
    // Cockpit frame: a dark pillar along each side of the field with rivets and a light rim.
    for (int side = 0; side < 2; ++side) {
        const int x0 = side == 0 ? 53 : 260;
        ShadeRect(half, x0, 0, x0 + 7, 240, NAVY, ShadeOptions{3.0f, true, false, 1.0f, -2, 1, 4});
        for (int y = 8; y < 240; y += 16) half.Set(x0 + 3, y, NAVY + 4), half.Set(x0 + 4, y + 1, NAVY + 1);
    }
    // The name and the controls in the left strip, dim so the eye stays on the field.
    Mask name(half);
    TextMask(name, 10, 10, "VORNE", 1, 2);
    Flat(half, name, NAVY + 4);
    DrawLine(half, 6, 28, 44, 28, NAVY + 3);
    static const char* const HELP[] = {"SHOT", "Z CTRL SPACE", "",  "BOMB", "X RET SHIFT", "",   "MOVE", "ARROWS  PAD",
                                       "",     "PAUSE",        "P", "",     "TITLE",       "ESC"};
    int y = 40;
    bool heading = true;
    for (const char* line : HELP) {
        if (*line) {
            if (heading) {
                uint8_t rows[7];
                RampRows(rows, UIGOLD, 2, 1);
                DrawText(half, 4, y, line, rows);
                y += 9;
            } else {
                DrawMiniText(half, 5, y, line, NAVY + 4);
                y += 7;
            }
            heading = false;
        } else {
            y += 5;
            heading = true;
        }
    }
    // Right strip: a gauge panel that shows nothing live, only its frame.
    Plate(half, 272, 20, 316, 60, NAVY, PLATE_DARK);
    DrawMiniText(half, 277, 25, "SYSTEMS", NAVY + 4);
    for (int k = 0; k < 4; ++k) FillRect(half, 277 + k * 9, 36, 283 + k * 9, 54, static_cast<uint8_t>(NAVY + 1 + (k % 2)));
    Plate(half, 272, 200, 316, 226, NAVY, PLATE_DARK);
    DrawMiniText(half, 277, 205, "VX-01", NAVY + 4);
    DrawMiniText(half, 277, 214, "ONLINE", GREEN + 3);
    for (int yy = 0; yy < 480; ++yy)
        for (int xx = 0; xx < 640; ++xx) screen.Set(xx, yy, half.Get(xx / 2, yy / 2));
    // The middle, always under the field, stays the clear colour.
    FillRect(screen, 120, 0, 520, 480, CLEAR);
}

}  // namespace art
