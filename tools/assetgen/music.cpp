// Placeholder music: one held note per piece. The finished compositions replace this.
#include "assetgen.h"

bool WriteMusic(const std::string& outDir) {
    for (int piece = 1; piece <= 6; ++piece) {
        std::vector<uint8_t> b = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
        const std::vector<uint8_t> track = {0x00, 0x90, static_cast<uint8_t>(57 + piece), 0x40, 0x83, 0x00, 0x80,
                                            static_cast<uint8_t>(57 + piece), 0x00, 0x00, 0xFF, 0x2F, 0x00};
        for (char c : std::string("MTrk")) b.push_back(static_cast<uint8_t>(c));
        const auto n = static_cast<uint32_t>(track.size());
        for (int i = 3; i >= 0; --i) b.push_back(static_cast<uint8_t>(n >> (8 * i)));
        b.insert(b.end(), track.begin(), track.end());
        const std::string name = outDir + "/bgm0" + std::to_string(piece) + ".mid";
        if (!WriteFileBytes(name, b)) return false;
    }
    return true;
}
