// Shared set-up for the tests: a headless platform, a scratch folder holding links to the
// generated data files (so record files written by a test land there), the display loaded and
// the game reset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Creates (once per process) a scratch folder with links to the data files and changes into it.
// Returns its path.
std::string EnterScratchDataDir();
// Headless platform, scratch folder, display loaded (only once), ResetGame. Every fixture that
// touches game state calls it in SetUp.
void SetUpHeadlessGame();
// Removes score.dat and replay.rep from the scratch folder.
void RemoveRecordFiles();
// A fresh folder under /tmp holding links to the game's pictures and music, for runs of the
// game that write files of their own; the caller removes it.
std::string MakeRunFolder();
// Runs `vorne --headless ARGS` in a folder, its output in out.txt and err.txt there, its sound
// to SDL's dummy driver; `prefix` is put before the command (a ulimit, variables). Returns its
// exit status, or -1 when it did not exit.
int RunHeadlessIn(const std::string& folder, const std::string& args, const std::string& prefix = "");
// Reads a whole file; empty when missing.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// A 32-bit value as the record files store it: four bytes, low first.
std::string Le32(uint32_t value);

// Puts the named environment variables back, set or unset, as they stood when it was made.
class SavedEnvironment {
  public:
    explicit SavedEnvironment(std::vector<std::string> names);
    ~SavedEnvironment();

  private:
    std::vector<std::string> names_;
    std::vector<std::optional<std::string>> values_;
};

// The effects the headless platform started since the last call. Each call empties its sound and
// music logs, so a test takes what one step of the game did.
std::vector<int> TakeSounds();
int CountOf(const std::vector<int>& values, int value);

// A clear of the whole play field, and whether a rectangle of it holds any other colour than
// `colour`.
void ClearField(int colour);
bool FieldRectHasColourOtherThan(int left, int top, int right, int bottom, int colour);
