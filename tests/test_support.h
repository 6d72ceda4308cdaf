// Shared set-up for the tests: a headless platform, a scratch folder holding links to the
// generated data files (so record files written by a test land there), the display loaded and
// the game reset.
#pragma once

#include <string>

// Creates (once per process) a scratch folder with links to the data files and changes into it.
// Returns its path.
std::string EnterScratchDataDir();
// Headless platform, scratch folder, display loaded (only once), ResetGame. Every fixture that
// touches game state calls it in SetUp.
void SetUpHeadlessGame();
// Removes score.dat and replay.rep from the scratch folder.
void RemoveRecordFiles();
// Reads a whole file; empty when missing.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
