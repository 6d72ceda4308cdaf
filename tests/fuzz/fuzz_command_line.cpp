// Fuzz target: the command-line parser. The input is the words after the program's name, each
// ended by a NUL byte. A line it accepts holds only checked numbers.
#include <sstream>

#include "app/options.h"
#include "fuzz_support.h"

FUZZ_TARGET {
    std::vector<std::string> words = {"vorne"};
    std::istringstream in(FuzzText(data, size));
    for (std::string word; words.size() < 64 && std::getline(in, word, '\0');) words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    CommandLine line;
    std::string error;
    if (!ParseCommandLine(static_cast<int>(words.size()), argv.data(), &line, &error)) {
        Require(!error.empty());
        return 0;
    }
    Require(line.run.ticks >= 0);
    for (const HeadlessShot& shot : line.run.shots) {
        Require(shot.tick >= 1 && !shot.path.empty());
        Require(line.help || line.version || line.run.ticks == 0 || shot.tick <= line.run.ticks);
    }
    ResolveCommandLinePaths("/start", &line);
    return 0;
}
