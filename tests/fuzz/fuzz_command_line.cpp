// Fuzz target: the command-line parser. The input is the words after the program's name, each
// ended by a NUL byte. A line it accepts holds only checked numbers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words = {"vorne"};
    std::string word;
    for (size_t i = 0; i < size && words.size() < 64; ++i) {
        if (data[i] == '\0') {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    if (!word.empty() && words.size() < 64) words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    CommandLine line;
    std::string error;
    if (!ParseCommandLine(static_cast<int>(words.size()), argv.data(), &line, &error)) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    if (line.run.ticks < 0) __builtin_trap();
    for (const HeadlessShot& shot : line.run.shots) {
        if (shot.tick < 1 || shot.path.empty()) __builtin_trap();
        if (!line.help && !line.version && line.run.ticks > 0 && shot.tick > line.run.ticks) __builtin_trap();
    }
    ResolveCommandLinePaths("/start", &line);
    return 0;
}
