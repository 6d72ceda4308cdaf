// Saving the high score and its replay: a crash at any step of the save, a failure at any step,
// and every kind of bad destination leave the old pair or the new pair, whole, and the next start
// finishes what a crash interrupted.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/game.h"
#include "input/input.h"
#include "platform/file_io.h"
#include "player/player.h"
#include "test_support.h"

namespace {

constexpr int32_t OLD_SCORE = 200000;
constexpr int32_t NEW_SCORE = 250000;

std::string ReplayFile(int frames, uint8_t pattern) {
    std::string s = Le32(REPLAY_MAGIC);
    for (int f = 0; f < frames; ++f) s += std::string(6, static_cast<char>(pattern)) + static_cast<char>(f);
    return s;
}

bool Exists(const char* name) {
    struct stat info {};
    return lstat(name, &info) == 0;
}

// The hook's state; reset by the fixture.
std::vector<std::string> g_steps;
int g_stepToKill = -1;
int g_stepToFail = -1;

bool RecordStep(const char* step) {
    const int index = static_cast<int>(g_steps.size());
    g_steps.push_back(step);
    if (index == g_stepToKill) raise(SIGKILL);
    return index == g_stepToFail;
}

// Each test in a fresh, empty folder, with an old pair saved there by an earlier game.
class RecordSaving : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpHeadlessGame();
        char pattern[] = "/tmp/vorne-records-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
        g_steps.clear();
        g_stepToKill = g_stepToFail = -1;
        PlatSetFileStepHook(RecordStep);
        oldReplay_ = ReplayFile(10, 1);
        newReplay_ = ReplayFile(20, 0);
        WriteOldPair();
    }
    void TearDown() override {
        PlatSetFileStepHook(nullptr);
        EnterScratchDataDir();
        EXPECT_EQ(std::system(("chmod -R u+w '" + dir_ + "' && rm -rf '" + dir_ + "'").c_str()), 0);
        g_continued = g_watchingReplay = 0;
    }

    void WriteOldPair() {
        WriteWholeFile("score.dat", Le32(OLD_SCORE));
        WriteWholeFile("replay.rep", oldReplay_);
    }
    // A live game without continue that ended at NEW_SCORE after 20 frames, the old pair loaded.
    void PrepareNewGame(int frames = 20) {
        g_savedHiScore = OLD_SCORE;
        g_hiScore = NEW_SCORE;
        g_continued = g_watchingReplay = 0;
        g_replayFrame = frames;
        for (int f = 0; f < frames; ++f) g_replayRecords[f] = {0, 0, 0, 0, 0, 0, static_cast<int8_t>(f)};
        newReplay_ = ReplayFile(frames, 0);
    }
    // What the next start reads, after it has put the records in order.
    std::string PairSeenAtTheNextStart() {
        LoadHighScore();
        const std::string score = ReadWholeFile("score.dat");
        const std::string replay = ReadWholeFile("replay.rep");
        if (Exists("score.dat.new") || Exists("replay.rep.new") || Exists("records.commit")) return "leftovers";
        if (score == Le32(OLD_SCORE) && replay == oldReplay_ && g_savedHiScore == OLD_SCORE) return "old";
        if (score == Le32(NEW_SCORE) && replay == newReplay_ && g_savedHiScore == NEW_SCORE) return "new";
        return "split";
    }
    // The steps of a whole save, from a dry run that is then undone.
    std::vector<std::string> SaveSteps() {
        PrepareNewGame();
        CommitHighScore();
        std::vector<std::string> steps = g_steps;
        g_steps.clear();
        WriteOldPair();
        return steps;
    }
    static int StepIndex(const std::vector<std::string>& steps, const std::string& step) {
        return static_cast<int>(std::find(steps.begin(), steps.end(), step) - steps.begin());
    }
    // Runs a save in a child process set up by prepare; its exit status (or 128 + its signal).
    static int SaveInChild(void (*prepare)()) {
        const pid_t child = fork();
        if (child == 0) {
            prepare();
            CommitHighScore();
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }

    std::string dir_;
    std::string oldReplay_;
    std::string newReplay_;
};

TEST_F(RecordSaving, AKillAtAnyStepLeavesTheOldPairOrTheNewOneWhole) {
    const std::vector<std::string> steps = SaveSteps();
    const int commitPoint = StepIndex(steps, "create records.commit");
    const int secondRename = StepIndex(steps, "rename score.dat");
    ASSERT_LT(secondRename, static_cast<int>(steps.size()));
    ASSERT_EQ(StepIndex(steps, "rename replay.rep"), secondRename - 1);
    ASSERT_LT(commitPoint, secondRename - 1);
    for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
        WriteOldPair();
        PrepareNewGame();
        g_steps.clear();
        g_stepToKill = k;
        ASSERT_EQ(SaveInChild([] {}), 128 + SIGKILL) << steps[k];
        g_stepToKill = -1;
        if (k == secondRename) {
            // Killed between the two renames: the new replay beside the old score, until the
            // next start finishes the commit.
            EXPECT_EQ(ReadWholeFile("replay.rep"), newReplay_);
            EXPECT_EQ(ReadWholeFile("score.dat"), Le32(OLD_SCORE));
        }
        EXPECT_EQ(PairSeenAtTheNextStart(), k <= commitPoint ? "old" : "new") << "killed before " << steps[k];
    }
}

TEST_F(RecordSaving, AFailureAtAnyStepKeepsTheOldPairAndSaysSoInOneLine) {
    const std::vector<std::string> steps = SaveSteps();
    const int firstRename = StepIndex(steps, "rename replay.rep");
    for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
        WriteOldPair();
        PrepareNewGame();
        g_steps.clear();
        g_stepToFail = k;
        testing::internal::CaptureStderr();
        CommitHighScore();
        const std::string said = testing::internal::GetCapturedStderr();
        g_stepToFail = -1;
        // The game goes on with the new high score either way.
        EXPECT_EQ(g_savedHiScore, NEW_SCORE);
        if (k < firstRename) {
            EXPECT_TRUE(said.starts_with("vorne: could not save the new high score and its replay: ") &&
                        said.ends_with("; the old files are kept\n"))
                << said;
            EXPECT_FALSE(Exists("score.dat.new") || Exists("replay.rep.new") || Exists("records.commit")) << steps[k];
            EXPECT_EQ(PairSeenAtTheNextStart(), "old") << "failed at " << steps[k];
        } else {
            // Past the point of commit the save can only go forward; the next start completes it.
            EXPECT_EQ(PairSeenAtTheNextStart(), "new") << "failed at " << steps[k];
        }
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
}

TEST_F(RecordSaving, TheNextStartFinishesOrDiscardsWhatACrashLeft) {
    // Between the renames: the new replay in place, the score's temporary and the marker beside it.
    WriteWholeFile("replay.rep", newReplay_);
    WriteWholeFile("score.dat.new", Le32(NEW_SCORE));
    WriteWholeFile("records.commit", "");
    EXPECT_EQ(PairSeenAtTheNextStart(), "new");
    // Before the point of commit: temporaries (one of them cut short) and no marker.
    WriteOldPair();
    WriteWholeFile("replay.rep.new", newReplay_.substr(0, 9));
    WriteWholeFile("score.dat.new", Le32(NEW_SCORE));
    EXPECT_EQ(PairSeenAtTheNextStart(), "old");
    // After both renames: only the marker is left.
    WriteWholeFile("records.commit", "");
    EXPECT_EQ(PairSeenAtTheNextStart(), "old");
    // The replay is read after the same recovery.
    WriteWholeFile("replay.rep.new", newReplay_);
    WriteWholeFile("records.commit", "");
    std::memset(g_replayRecords, 0xFF, sizeof g_replayRecords);
    ASSERT_TRUE(LoadReplay());
    EXPECT_EQ(g_replayRecords[19].fps, 19);
    EXPECT_FALSE(Exists("replay.rep.new") || Exists("records.commit"));
}

// What stands at a name: its kind, and a regular file's bytes.
std::string Describe(const char* name) {
    struct stat info {};
    if (lstat(name, &info) != 0) return "nothing";
    if (S_ISDIR(info.st_mode)) return "a folder";
    if (S_ISFIFO(info.st_mode)) return "a FIFO";
    if (S_ISLNK(info.st_mode)) return "a link";
    return "a file of " + ReadWholeFile(name);
}

// The destinations a save must not write through or into: each keeps what stands there, says
// so in one line, and lets the game go on; a link is replaced by the file itself.
TEST_F(RecordSaving, BadDestinationsKeepTheOldPairAndNeverBlock) {
    struct Case {
        const char* what;
        const char* setUp;    // shell commands run in the folder
        const char* refusal;  // why the line says the save was refused, or "" when it goes ahead
    };
    const Case cases[] = {
        {"a folder named score.dat", "rm score.dat && mkdir score.dat", "score.dat is a folder"},
        {"a folder named replay.rep", "rm replay.rep && mkdir replay.rep", "replay.rep is a folder"},
        {"a FIFO named score.dat", "rm score.dat && mkfifo score.dat",
         "score.dat is not a regular file (a FIFO, device or socket)"},
        {"a FIFO named replay.rep", "rm replay.rep && mkfifo replay.rep",
         "replay.rep is not a regular file (a FIFO, device or socket)"},
        {"a read-only replay.rep beside a writable score.dat", "chmod 444 replay.rep", "replay.rep is read-only"},
        {"a read-only score.dat", "chmod 400 score.dat", "score.dat is read-only"},
        {"a dangling link named score.dat", "rm score.dat && ln -s elsewhere/target score.dat", ""},
        {"a link named replay.rep to another file", "echo keep > other && rm replay.rep && ln -s other replay.rep", ""},
        {"a link named replay.rep to /dev/full", "rm replay.rep && ln -s /dev/full replay.rep", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(std::system("rm -rf ./*"), 0);
        WriteOldPair();
        ASSERT_EQ(std::system(c.setUp), 0);
        const std::string before = Describe("score.dat") + ", " + Describe("replay.rep");
        PrepareNewGame();
        testing::internal::CaptureStderr();
        CommitHighScore();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(g_savedHiScore, NEW_SCORE);
        EXPECT_FALSE(Exists("score.dat.new") || Exists("replay.rep.new") || Exists("records.commit"));
        if (c.refusal[0] != '\0') {
            EXPECT_EQ(said, std::string("vorne: could not save the new high score and its replay: ") + c.refusal +
                                "; the old files are kept\n");
            EXPECT_EQ(Describe("score.dat") + ", " + Describe("replay.rep"), before);
        } else {
            EXPECT_EQ(said, "");
            EXPECT_EQ(Describe("score.dat") + ", " + Describe("replay.rep"),
                      "a file of " + Le32(NEW_SCORE) + ", a file of " + newReplay_);
            EXPECT_FALSE(Exists("elsewhere"));
            EXPECT_EQ(Exists("other") ? ReadWholeFile("other") : "keep\n", "keep\n");
        }
    }
}

// A nearly full disk (a file-size limit of 10 KB: the replay of 5000 frames, 35 KB, cannot be
// written whole), then a folder the game may not write in.
TEST_F(RecordSaving, AFullDiskOrAnUnwritableFolderKeepsTheOldPair) {
    PrepareNewGame(5000);
    EXPECT_EQ(SaveInChild([] {
                  signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{10 * 1024, 10 * 1024};
                  setrlimit(RLIMIT_FSIZE, &limit);
              }),
              0);
    EXPECT_FALSE(Exists("score.dat.new") || Exists("replay.rep.new") || Exists("records.commit"));
    EXPECT_EQ(PairSeenAtTheNextStart(), "old");

    PrepareNewGame();
    ASSERT_EQ(chmod(".", 0555), 0);
    // Root writes anywhere, so the save runs as nobody when the tests run as root.
    const int status = SaveInChild([] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        if (access(".", W_OK) == 0) _exit(4);
    });
    ASSERT_EQ(chmod(".", 0755), 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(PairSeenAtTheNextStart(), "old");
}

TEST_F(RecordSaving, SpecialFilesAreNotReadAndLinksAreFollowedOnRead) {
    ASSERT_EQ(std::system("rm score.dat replay.rep && mkfifo score.dat replay.rep"), 0);
    // Neither read blocks on the FIFO; each says why it was passed over.
    testing::internal::CaptureStderr();
    LoadHighScore();
    EXPECT_FALSE(LoadReplay());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vorne: score.dat is not a regular file (a FIFO, device or socket); it is not read\n"
              "vorne: replay.rep is not a regular file (a FIFO, device or socket); it is not read\n");
    EXPECT_EQ(g_savedHiScore, DEFAULT_HIGH_SCORE);
    ASSERT_EQ(std::system("rm score.dat && mkdir kept && ln -s kept/score score.dat"), 0);
    WriteWholeFile("kept/score", Le32(123));
    LoadHighScore();
    EXPECT_EQ(g_savedHiScore, 123);
}

TEST_F(RecordSaving, ANewFileKeepsTheOldOnesPermissions) {
    ASSERT_EQ(chmod("score.dat", 0600), 0);
    PrepareNewGame();
    CommitHighScore();
    struct stat info {};
    EXPECT_TRUE(stat("score.dat", &info) == 0 && (info.st_mode & 0777) == 0600u) << std::oct << info.st_mode;
    EXPECT_EQ(PairSeenAtTheNextStart(), "new");
}

}  // namespace
