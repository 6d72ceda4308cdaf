// Screenshots: the pictures folder found as xdg-user-dir finds it, the fallback beside the
// records, and files that never replace one another, each the same picture as the headless
// runner's shot of the screen.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
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
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, ""), "");
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, "XDG_PICTURES_DIR=\"$HOME/\"\n"), "");
    EXPECT_EQ(PicturesFolderFrom("/home/pat", home, ""), "");
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, "XDG_PICTURES_DIR=\"Pictures\"\n"), "");
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, "XDG_PICTURES_DIR=$HOME/Pictures\n"), "");
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, "XDG_PICTURES_DIR=\"$HOMEPAGE/x\"\n"), "");
    EXPECT_EQ(PicturesFolderFrom(nullptr, home, "#XDG_PICTURES_DIR=\"$HOME/P\"\n"), "");
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
    static std::vector<std::string> Files(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* d = opendir(folder.c_str())) {
            while (dirent* e = readdir(d)) {
                if (e->d_name[0] != '.') names.push_back(e->d_name);
            }
            closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    SavedEnvironment environment_{{"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_PICTURES_DIR"}};
    std::string home_;
};

TEST_F(Screenshots, NeverReplaceOneAnotherAndHoldTheScreenInItsPalette) {
    ASSERT_EQ(std::system(("mkdir -p '" + home_ + "/.config'").c_str()), 0);
    WriteWholeFile(home_ + "/.config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
    const std::string folder = home_ + "/Pictures/VORNE";
    EXPECT_EQ(ScreenshotFolder(), folder);
    const std::string reference = home_ + "/reference.png";
    ASSERT_TRUE(PlatWriteScreenPng(reference.c_str()));

    // Three within (most likely) one second: three files, the same picture in each.
    std::string paths[3], error;
    for (std::string& path : paths) ASSERT_TRUE(SaveScreenshot(&path, &error)) << error;
    EXPECT_NE(paths[0], paths[1]);
    EXPECT_NE(paths[1], paths[2]);
    const std::vector<std::string> files = Files(folder);
    ASSERT_EQ(files.size(), 3u);
    for (const std::string& name : files) {
        EXPECT_EQ(name.rfind("vorne-20", 0), 0u) << name;  // vorne-YYYY-MM-DD_HH-MM-SS[-N].png
        EXPECT_EQ(ReadWholeFile(folder + "/" + name), ReadWholeFile(reference)) << name;
    }
    // The folders made on the way are the player's own.
    EXPECT_EQ(access((home_ + "/Pictures/VORNE").c_str(), W_OK), 0);
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
