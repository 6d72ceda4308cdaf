// The settings file: what each entry sets, that a bad entry is named by its line and costs only
// itself, and that a missing file leaves the game as it is made.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "test_support.h"

namespace {

struct Parsed {
    bool ok = false;
    PlayerSettings settings;
    std::vector<std::string> errors;
};

// What ParseSettings makes of a text, or LoadSettingsFile of a file.
template <bool (*Read)(const std::string&, PlayerSettings*, std::vector<std::string>*)>
Parsed Run(const std::string& input) {
    Parsed p;
    p.ok = Read(input, &p.settings, &p.errors);
    return p;
}
constexpr auto Parse = Run<ParseSettings>;
constexpr auto Load = Run<LoadSettingsFile>;

std::vector<int32_t> Keys(const PlayerSettings& s, SettingsAction a) {
    return std::vector<int32_t>(s.keys[a], s.keys[a] + s.keyCount[a]);
}

std::string Buttons(const PlayerSettings& s, SettingsAction a) {
    std::string out;
    for (int i = 0; i < s.buttonCount[a]; ++i) {
        out += (s.buttons[a][i].padButton ? "pad" : "joy") + std::to_string(s.buttons[a][i].index) + " ";
    }
    return out;
}

// Whether a file left everything as the game is made: no key or button added, sound and window
// as they were.
bool AllDefaults(const PlayerSettings& s) {
    const PlayerSettings defaults;
    for (int a = 0; a < SETTINGS_ACTIONS; ++a) {
        if (s.keyCount[a] != 0 || s.buttonCount[a] != 0) return false;
    }
    return s.musicVolume == defaults.musicVolume && s.effectsVolume == defaults.effectsVolume && s.mute == defaults.mute &&
           s.fullscreen == defaults.fullscreen;
}

// A missing or empty file, and the commented example installed with the documentation, read
// without a complaint and change nothing.
TEST(Settings, WithoutEntriesEverythingIsAsTheGameIsMade) {
    for (const char* path : {"/nonexistent-folder/vorne.ini", VORNE_SOURCE_DIR "/packaging/vorne.ini.example"}) {
        const Parsed p = Load(path);
        EXPECT_TRUE(p.ok && p.errors.empty()) << path << ": " << (p.errors.empty() ? "" : p.errors[0]);
        EXPECT_TRUE(AllDefaults(p.settings)) << path;
    }
    const Parsed empty = Parse("");
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(AllDefaults(empty.settings));
}

TEST(Settings, EveryEntryOfAWellFormedFile) {
    const Parsed p = Parse(
        "; a comment\n"
        "# another\n"
        "[Sound]\n"
        "music = 0\n"
        "effects=75 ; inline comment\n"
        "mute = Yes\n"
        "[window]\n"
        "fullscreen = off\n"
        "[keys]\n"
        "up = w, Keypad 9\n"
        "left = a\n"
        "shot = J,  left alt \n"
        "  k\n"  // a continuation line adds to the list
        "pause = Pause\n"
        "bomb =\n"
        "[pad]\n"
        "shot = x, Y\n"
        "pause = back, 7\n");
    EXPECT_TRUE(p.ok) << (p.errors.empty() ? "" : p.errors[0]);
    const PlayerSettings& s = p.settings;
    EXPECT_EQ(std::vector<int>({s.musicVolume, s.effectsVolume, s.mute, s.fullscreen}), std::vector<int>({0, 75, 1, 0}));
    EXPECT_EQ(Keys(p.settings, SETTINGS_UP), (std::vector<int32_t>{SDLK_w, SDLK_KP_9}));
    EXPECT_EQ(Keys(p.settings, SETTINGS_LEFT), (std::vector<int32_t>{SDLK_a}));
    EXPECT_EQ(Keys(p.settings, SETTINGS_SHOT), (std::vector<int32_t>{SDLK_j, SDLK_LALT, SDLK_k}));
    EXPECT_EQ(Keys(p.settings, SETTINGS_PAUSE), (std::vector<int32_t>{SDLK_PAUSE}));
    EXPECT_EQ(Keys(p.settings, SETTINGS_BOMB).size() + Keys(p.settings, SETTINGS_DOWN).size(), 0u);
    EXPECT_EQ(
        Buttons(p.settings, SETTINGS_SHOT) + "/" + Buttons(p.settings, SETTINGS_PAUSE) + "/" + Buttons(p.settings, SETTINGS_BOMB),
        "pad2 pad3 /pad4 joy7 /");
}

TEST(Settings, EachBadEntryIsNamedByItsLineAndKeepsItsDefault) {
    const Parsed p = Parse(
        "[sound]\n"
        "music = 101\n"    // 2
        "effects = 50%\n"  // 3
        "mute = maybe\n"   // 4
        "[window]\n"
        "fullscreen = no\n"  // 6: good, applies
        "size = 2\n"         // 7: unknown name
        "[keys]\n"
        "shot = j, Nonsense\n"  // 9: one bad name, none of the line's keys
        "bomb = Escape\n"       // 10: kept by the game
        "up = F11\n"            // 11
        "left = p\n"            // 12
        "fire = z\n"            // 13: no such action
        "[pad]\n"
        "bomb = dpup\n"    // 15: the d-pad steers
        "shot = 32\n"      // 16
        "up = a\n"         // 17: no pad entry for moving
        "pause = start\n"  // 18: good
        "[graphics]\n"
        "filter = smooth\n"      // 20: unknown section
        "this line is broken\n"  // 21: not an entry
        "[sound]\n"
        "effects = 20\n");  // 23: good, applies
    EXPECT_FALSE(p.ok);
    const PlayerSettings& s = p.settings;
    EXPECT_EQ(std::vector<int>({s.musicVolume, s.effectsVolume, s.mute, s.fullscreen}), std::vector<int>({100, 20, 0, 0}));
    for (const SettingsAction a : {SETTINGS_SHOT, SETTINGS_BOMB, SETTINGS_UP, SETTINGS_LEFT})
        EXPECT_TRUE(Keys(s, a).empty()) << a;
    EXPECT_EQ(Buttons(s, SETTINGS_BOMB) + Buttons(s, SETTINGS_SHOT) + Buttons(s, SETTINGS_PAUSE), "pad6 ");
    std::string lines;
    for (const std::string& e : p.errors) lines += e.substr(0, e.find(':')) + ",";
    EXPECT_EQ(lines,
              "line 2,line 3,line 4,line 7,line 9,line 10,line 11,line 12,line 13,line 15,line 16,line 17,"
              "line 20,line 21,");
    // Each message says what is wrong, with the value that was refused.
    ASSERT_EQ(p.errors.size(), 14u);
    EXPECT_NE(p.errors[0].find("0 to 100, not '101'"), std::string::npos) << p.errors[0];
    EXPECT_NE(p.errors[4].find("'Nonsense' is not a key name"), std::string::npos) << p.errors[4];
    EXPECT_NE(p.errors[5].find("kept"), std::string::npos) << p.errors[5];
    EXPECT_NE(p.errors[9].find("d-pad"), std::string::npos) << p.errors[9];
}

TEST(Settings, LimitsOfListsAndLines) {
    // Eight keys fit; a ninth (on a later line) is refused with the rest of its line.
    Parsed p = Parse("[keys]\nshot = a, b, c, d, e, f, g, h\nshot = i\n");
    EXPECT_EQ(Keys(p.settings, SETTINGS_SHOT).size(), 8u);
    EXPECT_TRUE(p.errors.size() == 1 && p.errors[0].starts_with("line 3:")) << p.errors.size();

    // A line too long for the reader is cut and named; the next line still counts as line 3.
    p = Parse("[sound]\nmusic = 1" + std::string(300, '0') + "\nmute = yes\n");
    EXPECT_TRUE(!p.errors.empty() && p.errors[0].starts_with("line 2:")) << p.errors.size();
    EXPECT_TRUE(p.settings.musicVolume == 100 && p.settings.mute);

    // No trailing newline, Windows line ends, an entry before any section.
    p = Parse("music = 5\r\n[sound]\r\nmusic = 60");
    EXPECT_EQ(p.settings.musicVolume, 60);
    EXPECT_TRUE(p.errors.size() == 1 && p.errors[0].starts_with("line 1:")) << p.errors.size();
}

TEST(Settings, AFileThatCannotBeReadIsNamedAndChangesNothing) {
    Parsed p = Load("/");  // a folder
    EXPECT_FALSE(p.ok);
    ASSERT_EQ(p.errors.size(), 1u);
    EXPECT_TRUE(p.settings.fullscreen);

    const std::string path = "/tmp/vorne_settings_test.ini";
    WriteWholeFile(path, "[sound]\nmusic = 30\n");
    p = Load(path);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.settings.musicVolume, 30);
    // Longer than any settings file: refused unread (sparse, so nothing is written).
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(SETTINGS_MAX_FILE_BYTES) + 1), 0);
    p = Load(path);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.errors, std::vector<std::string>{"is larger than the 1048576 bytes it may hold"});
    EXPECT_EQ(p.settings.musicVolume, 100);
    std::remove(path.c_str());
    // A FIFO in its place would hold the start forever: refused at once.
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    p = Load(path);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.errors, std::vector<std::string>{"is not a regular file (a FIFO, device or socket)"});
    std::remove(path.c_str());
}

}  // namespace
