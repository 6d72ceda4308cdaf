// Screenshots: the pictures folder found as xdg-user-dir finds it, the fallback beside the
// records, and files that never replace one another, each the headless runner's shot of the
// same screen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/game.h"
#include "platform/platform_internal.h"
#include "test_support.h"

namespace {

TEST(ScreenshotFolder, PicturesAsXdgUserDirFindsThem) {
    const std::string home = "/home/pat";
    const char* file =
        "# written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, file), "/home/pat/Bilder");
    // The file's line stands over the environment; without one, the environment counts.
    EXPECT_EQ(PicturesFolderFrom("/srv/pics", home, file), "/home/pat/Bilder");
    EXPECT_EQ(PicturesFolderFrom("/srv/pics/", home, "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"), "/srv/pics");
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, "  XDG_PICTURES_DIR=\"/data/My \\\"Shots\\\"\"  \n"), "/data/My \"Shots\"");
    // No pictures folder: none anywhere, the home folder itself (xdg-user-dirs' "disabled"),
    // a relative or malformed value, a commented line.
    for (const char* line :
         {"", "XDG_PICTURES_DIR=\"$HOME/\"\n", "XDG_PICTURES_DIR=\"Pictures\"\n", "XDG_PICTURES_DIR=$HOME/Pictures\n",
          "XDG_PICTURES_DIR=\"$HOMEPAGE/x\"\n", "#XDG_PICTURES_DIR=\"$HOME/P\"\n"}) {
        EXPECT_EQ(PicturesFolderFrom(nullptr, home, line), "") << line;
    }
    EXPECT_EQ(PicturesFolderFrom("/home/pat", home, ""), "");
    EXPECT_EQ(PicturesFolderFrom("relative", home, ""), "");
}

// A fresh home with its own settings and data folders; the environment put back afterwards.
class Screenshots : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        ASSERT_EQ(RunFrame(), 1);
        char pattern[] = "/tmp/vorne_shots_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home_ = pattern;
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_PICTURES_DIR"}) unsetenv(name);
        setenv("HOME", home_.c_str(), 1);
    }
    void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + home_ + "'").c_str()), 0); }
    SavedEnvironment environment_{{"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_PICTURES_DIR"}};
    std::string home_;
};

// Shots within one second never replace one another, and each holds the screen as the headless
// runner's shot does. (One shot of a real window is e2e.window_picture's.)
TEST_F(Screenshots, NeverReplaceOneAnotherAndHoldTheScreen) {
    setenv("XDG_PICTURES_DIR", (home_ + "/Pictures").c_str(), 1);
    const std::string reference = home_ + "/reference.png";
    ASSERT_TRUE(PlatWriteScreenPng(reference.c_str()));
    std::string paths[3], error;
    for (std::string& path : paths) ASSERT_TRUE(SaveScreenshot(&path, &error)) << error;
    EXPECT_TRUE(paths[0] != paths[1] && paths[1] != paths[2] && paths[0] != paths[2]);
    for (const std::string& path : paths) {
        EXPECT_EQ(path.rfind(home_ + "/Pictures/VORNE/vorne-20", 0), 0u) << path;  // vorne-YYYY-MM-DD_HH-MM-SS[-N].png
        EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(reference)) << path;
    }
}

TEST_F(Screenshots, WithoutAPicturesFolderTheyGoBesideTheRecords) {
    setenv("XDG_DATA_HOME", (home_ + "/data").c_str(), 1);
    std::string path, error;
    ASSERT_TRUE(SaveScreenshot(&path, &error)) << error;
    EXPECT_EQ(path.rfind(home_ + "/data/vorne/screenshots/vorne-", 0), 0u) << path;
    // A folder that cannot be made: the reason, and no file claimed.
    setenv("XDG_DATA_HOME", "/proc/vorne-cannot-be-here", 1);
    EXPECT_FALSE(SaveScreenshot(&path, &error));
    EXPECT_NE(error.find("/proc/vorne-cannot-be-here"), std::string::npos) << error;
}

}  // namespace
