// The headless runner's own files: a keys file it cannot use and outputs it cannot write end the
// run with a line saying which file and why, and a non-zero status.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/headless.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

// Outputs it cannot write, and a keys file it cannot use: status 2 and one line saying which file
// and why. The same outputs in a writable place: status 0, nothing said.
TEST(HeadlessFiles, AKeysFileItCannotUseFailsTheRun) {
    const std::string dir = EnterScratchDataDir();
    WriteWholeFile(dir + "/bad.keys", "10 z\n5 x\n");
    WriteWholeFile(dir + "/far.keys", "99999999999999999999 z\n");
    // Longer than any game could use (sparse: nothing is written).
    WriteWholeFile(dir + "/huge.keys", "1 z\n");
    ASSERT_EQ(truncate((dir + "/huge.keys").c_str(), 16 * 1024 * 1024 + 1), 0);
    const struct {
        const char* options;
        std::string said;
    } cases[] = {
        {"--trace /dev/full", "vorne: cannot write trace file /dev/full: No space left on device\n"},
        {"--draw-log /dev/full", "vorne: cannot write draw log file /dev/full: No space left on device\n"},
        {"--state /dev/full", "vorne: cannot write state file /dev/full: No space left on device\n"},
        {"--shot 20:/dev/full", "vorne: cannot write screenshot /dev/full\n"},
        {"--trace /nonexistent/t.jsonl", "vorne: cannot write trace file /nonexistent/t.jsonl: No such file or directory\n"},
        {"--state /nonexistent/s.json", "vorne: cannot write state file /nonexistent/s.json: No such file or directory\n"},
        {"--keys /tmp", "vorne: keys file /tmp is a folder\n"},
        {"--keys /dev/zero", "vorne: keys file /dev/zero is not a regular file (a FIFO, device or socket)\n"},
        {"--keys none.keys", "vorne: keys file " + dir + "/none.keys is missing\n"},
        {"--keys bad.keys", "vorne: " + dir + "/bad.keys: line 2: expected a tick greater than the previous one\n"},
        {"--keys far.keys", "vorne: " + dir + "/far.keys: line 1: expected a tick greater than the previous one\n"},
        {"--keys huge.keys", "vorne: keys file " + dir + "/huge.keys is larger than the 16777216 bytes it may hold\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunHeadlessIn(dir, std::string("--ticks 40 ") + c.options), 2) << c.options;
        EXPECT_EQ(ReadWholeFile(dir + "/err.txt"), c.said) << c.options;
    }
    EXPECT_EQ(RunHeadlessIn(dir, "--ticks 40 --trace t.jsonl --state s.json --shot 20:s.png --draw-log d.txt"), 0);
    EXPECT_EQ(ReadWholeFile(dir + "/err.txt"), "");
    for (const char* file : {"bad.keys", "far.keys", "huge.keys", "t.jsonl", "s.json", "s.png", "d.txt"}) {
        std::remove((dir + "/" + file).c_str());
    }
}

// A keys script's ticks are whole numbers from 1 up, its keys the ones the runner knows. (What it
// accepts is every golden trace's.)
TEST(HeadlessFiles, KeysScriptTicksAreWholeNumbersInOrder) {
    std::vector<KeyChange> changes;
    std::string error;
    for (const char* bad : {"0 z\n", "+1 z\n", "1e3 z\n", "9223372036854775808 z\n", "1 y\n", "1 - z\n"})
        EXPECT_FALSE(ParseKeysScript(bad, &changes, &error)) << bad;
    ASSERT_TRUE(ParseKeysScript("9223372036854775807 -\n", &changes, &error));  // the last tick a run can have
}

}  // namespace
