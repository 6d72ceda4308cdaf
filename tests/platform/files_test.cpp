// Where the game finds its files: the data lookup (current folder first, regular files only, a
// path taken as given), the per-user records folder and its creation, and the music check of the
// headless runner.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/mci.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

// Each test in a fresh empty folder, with the environment it changes put back afterwards.
class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(oldDir_, sizeof oldDir_), nullptr);
        char pattern[] = "/tmp/vorne_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(oldDir_), 0);
        EXPECT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0);
    }
    static unsigned Mode(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
    }
    char oldDir_[PATH_MAX] = {};
    std::string dir_;
    SavedEnvironment environment_{{"HOME", "XDG_DATA_HOME"}};
};

TEST_F(Files, DataFilesAreRegularFilesFoundInTheCurrentFolderFirst) {
    std::string path;
    // The test program's folders hold no data, so only the current folder can answer.
    EXPECT_FALSE(PlatFindDataFile("palette.dat", &path) || PlatDataInCurrentFolder());
    ASSERT_EQ(mkdir("palette.dat", 0755), 0);  // a folder of that name is no data file
    EXPECT_FALSE(PlatFindDataFile("palette.dat", &path) || PlatDataInCurrentFolder());
    ASSERT_EQ(rmdir("palette.dat"), 0);
    WriteWholeFile("palette.dat", "x");
    ASSERT_TRUE(PlatFindDataFile("palette.dat", &path));
    EXPECT_EQ(path, "palette.dat");  // opened by its plain name, as the game always did
    EXPECT_TRUE(PlatDataInCurrentFolder());

    // A path is looked at only where it points.
    ASSERT_EQ(mkdir("sub", 0755), 0);
    EXPECT_FALSE(PlatFindDataFile("sub/palette.dat", &path));
    EXPECT_TRUE(PlatFindDataFile((dir_ + "/palette.dat").c_str(), &path));
    EXPECT_EQ(path, dir_ + "/palette.dat");
    EXPECT_FALSE(PlatFindDataFile("", &path));

    // The list of folders starts with the current one and names each folder once.
    const std::string list = PlatDataFolderList();
    EXPECT_EQ(list.rfind(dir_ + ", ", 0), 0u) << list;
    EXPECT_EQ(list.find(dir_, 1), std::string::npos) << list;
    EXPECT_EQ(list.find("/.."), std::string::npos) << list;
}

TEST_F(Files, TheRecordsFolderFollowsXdgDataHomeOrTheHomeFolder) {
    setenv("HOME", "/home/player", 1);
    setenv("XDG_DATA_HOME", "/data/player/", 1);
    EXPECT_EQ(PlatUserRecordsFolder(), "/data/player/vorne");
    for (const char* notAbsolute : {"relative/dir", ""}) {  // only an absolute path counts
        setenv("XDG_DATA_HOME", notAbsolute, 1);
        EXPECT_EQ(PlatUserRecordsFolder(), "/home/player/.local/share/vorne") << notAbsolute;
    }
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");  // the password database still knows the home folder
    const std::string fromPasswd = PlatUserRecordsFolder();
    EXPECT_TRUE(fromPasswd.starts_with("/") && fromPasswd.ends_with("/.local/share/vorne")) << fromPasswd;
}

TEST_F(Files, EnteringTheRecordsFolderCreatesItPrivateWithItsParents) {
    const std::string folder = dir_ + "/home/.local/share/vorne";
    std::string error;
    ASSERT_TRUE(PlatEnterFolder(folder, &error)) << error;
    EXPECT_EQ(std::filesystem::current_path(), folder);
    EXPECT_EQ(Mode(folder), 0700u);
    EXPECT_EQ(Mode(dir_ + "/home/.local"), 0700u);
    // Entering it again is fine, and leaves an existing folder's mode alone.
    ASSERT_EQ(chmod((dir_ + "/home").c_str(), 0755), 0);
    ASSERT_TRUE(PlatEnterFolder(folder, &error)) << error;
    EXPECT_EQ(Mode(dir_ + "/home"), 0755u);

    // A file in the way, or no home folder at all, is said.
    WriteWholeFile(dir_ + "/blocked", "");
    EXPECT_FALSE(PlatEnterFolder(dir_ + "/blocked/vorne", &error));
    EXPECT_NE(error.find(dir_ + "/blocked"), std::string::npos) << error;
    EXPECT_FALSE(PlatEnterFolder("", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(Files, TheMusicCheckParsesEachPieceAndRefusesSpecialOrOversizedFilesUnread) {
    std::string problem;
    EXPECT_FALSE(PlatCheckMusicFile("bgm01.mid", &problem));
    EXPECT_EQ(problem.rfind("bgm01.mid is missing: not found in " + dir_, 0), 0u) << problem;

    WriteWholeFile("bgm01.mid", "MThd but not really a piece of music");
    EXPECT_FALSE(PlatCheckMusicFile("bgm01.mid", &problem));
    EXPECT_NE(problem.find("not a MIDI file"), std::string::npos) << problem;

    const std::string shipped = std::string(VORNE_DATA_DIR) + "/bgm01.mid";
    EXPECT_TRUE(PlatCheckMusicFile(shipped.c_str(), &problem)) << problem;
    WriteWholeFile("bgm01.mid", ReadWholeFile(shipped));
    EXPECT_TRUE(PlatCheckMusicFile("bgm01.mid", &problem)) << problem;
    std::remove("bgm01.mid");
    // The lookup passes a FIFO over; opened by its path, it is refused without waiting on it.
    ASSERT_EQ(mkfifo("bgm01.mid", 0644), 0);
    EXPECT_FALSE(PlatCheckMusicFile("./bgm01.mid", &problem));
    EXPECT_EQ(problem.rfind("./bgm01.mid is missing", 0), 0u) << problem;
    MidiPiece piece;
    EXPECT_FALSE(MidiReadFile("bgm01.mid", &piece, &problem));
    EXPECT_EQ(problem, "is not a regular file (a FIFO, device or socket)");
    // One byte past the limit: refused by its size (a sparse file, so nothing is written).
    WriteWholeFile("bgm02.mid", "MThd");
    ASSERT_EQ(truncate("bgm02.mid", static_cast<off_t>(MIDI_MAX_FILE_BYTES) + 1), 0);
    EXPECT_FALSE(PlatCheckMusicFile("./bgm02.mid", &problem));
    EXPECT_EQ(problem, "./bgm02.mid is larger than the 4194304 bytes a piece may hold");
    // At the limit it is read, and refused for what it holds.
    ASSERT_EQ(truncate("bgm02.mid", static_cast<off_t>(MIDI_MAX_FILE_BYTES)), 0);
    EXPECT_FALSE(PlatCheckMusicFile("./bgm02.mid", &problem));
    EXPECT_EQ(problem, "./bgm02.mid is not a MIDI file the game can play");
}

// Every reader of the game's files takes regular files only, never waits on a FIFO or device,
// and never takes more than its limit.
TEST_F(Files, ReadingTakesRegularFilesOnlyWithinTheLimitAndNeverBlocks) {
    WriteWholeFile("ten", "0123456789");
    ASSERT_EQ(symlink("ten", "link"), 0);  // a link is read as what it names
    ASSERT_EQ(mkdir("folder", 0755), 0);
    ASSERT_EQ(mkfifo("fifo", 0644), 0);  // no writer: an ordinary open would wait forever
    ASSERT_EQ(symlink("fifo", "fifo-link"), 0);
    const struct {
        const char* name;
        size_t limit;
        FileStatus status;
        const char* read;
    } cases[] = {
        {"none", 10, FILE_MISSING, ""},      {"ten", 10, FILE_OK, "0123456789"},  {"ten", 9, FILE_TOO_LARGE, ""},
        {"link", 10, FILE_OK, "0123456789"}, {"folder", 10, FILE_FOLDER, ""},     {"fifo", 10, FILE_SPECIAL, ""},
        {"fifo-link", 10, FILE_SPECIAL, ""}, {"/dev/zero", 10, FILE_SPECIAL, ""},  // endless, were it read
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes(3, 'x');
        EXPECT_EQ(PlatReadWholeFile(c.name, c.limit, &bytes), c.status) << c.name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.read) << c.name;
    }
    EXPECT_EQ(PlatFileStatusText(FILE_TOO_LARGE, 9), "is larger than the 9 bytes it may hold");
    ASSERT_EQ(chmod("ten", 0), 0);
    std::vector<uint8_t> bytes;
    if (geteuid() != 0) {
        EXPECT_EQ(PlatReadWholeFile("ten", 10, &bytes), FILE_READ_ERROR);
        EXPECT_EQ(PlatFileStatusText(FILE_READ_ERROR), "cannot be read: Permission denied");
    }
}

}  // namespace
