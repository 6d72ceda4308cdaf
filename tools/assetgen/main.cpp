// assetgen's command line.
//   assetgen --out DIR --resources FILE.cpp   palette, sheets and music into DIR; effects into FILE.cpp
//   assetgen --contact-sheet FILE.png         every picture region enlarged and named, for review
//   assetgen --wav DIR                        the effects as .wav files, for listening
//   assetgen --icons DIR --window-icon FILE.cpp  desktop icons into DIR; the window's icon into FILE.cpp
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "assetgen.h"

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int main(int argc, char** argv) {
    std::string outDir, resources, contact, wavDir, iconDir, windowIcon;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue) {
            outDir = argv[++i];
        } else if (arg == "--resources" && hasValue) {
            resources = argv[++i];
        } else if (arg == "--contact-sheet" && hasValue) {
            contact = argv[++i];
        } else if (arg == "--wav" && hasValue) {
            wavDir = argv[++i];
        } else if (arg == "--icons" && hasValue) {
            iconDir = argv[++i];
        } else if (arg == "--window-icon" && hasValue) {
            windowIcon = argv[++i];
        } else {
            std::fprintf(stderr,
                         "usage: assetgen [--out DIR] [--resources FILE.cpp] [--contact-sheet FILE.png] [--wav DIR]\n"
                         "                [--icons DIR] [--window-icon FILE.cpp]\n");
            return 2;
        }
    }
    bool ok = true;
    if (!outDir.empty()) ok = WriteImages(outDir) && WriteMusic(outDir) && ok;
    if (!resources.empty()) ok = WriteWaveResources(resources) && ok;
    if (!contact.empty()) ok = WriteContactSheet(contact) && ok;
    if (!wavDir.empty()) ok = WriteWaveFiles(wavDir) && ok;
    if (!iconDir.empty()) ok = WriteIcons(iconDir) && ok;
    if (!windowIcon.empty()) ok = WriteWindowIcon(windowIcon) && ok;
    return ok ? 0 : 1;
}
