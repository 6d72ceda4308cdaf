// Fuzz target: the headless runner's keys-file parser. What it accepts is in strictly rising
// tick order, from tick 1 on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<KeyChange> changes;
    std::string error;
    if (!ParseKeysScript(text, &changes, &error)) {
        if (error.empty()) __builtin_trap();
        return 0;
    }
    long last = 0;
    for (const KeyChange& change : changes) {
        if (change.tick <= last) __builtin_trap();
        last = change.tick;
    }
    return 0;
}
