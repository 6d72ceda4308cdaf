// assetgen: writes every data file of the game from code, deterministically (the same build
// writes the same bytes). Each family of data has its own source file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// images.cpp and its art sources: palette.dat and grA.dat .. grG.dat (8-bit BMPs).
bool WriteImages(const std::string& outDir);
// images.cpp: every atlas region enlarged on a grid with its name, as a PNG review picture.
bool WriteContactSheet(const std::string& pngPath);
// music.cpp: bgm01.mid .. bgm06.mid.
bool WriteMusic(const std::string& outDir);
// sounds.cpp: the twelve effects (RIFF WAVE, ids 101..112) as a C++ source of ResourceBlobs.
bool WriteWaveResources(const std::string& cppPath);
// sounds.cpp: the same twelve effects as effect101.wav .. effect112.wav, for listening.
bool WriteWaveFiles(const std::string& outDir);
// icons.cpp: the desktop icons vorne-16.png .. vorne-256.png, painted from the ship's sprites.
bool WriteIcons(const std::string& outDir);
// icons.cpp: the game window's icon (one of those pictures) as a C++ source of RGBA pixels.
bool WriteWindowIcon(const std::string& cppPath);

// Writes a whole file; false (with a message on stderr) on failure.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
