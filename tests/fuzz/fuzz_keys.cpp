// Fuzz target: the headless runner's keys-file parser. What it accepts is in strictly rising
// tick order, from tick 1 on.
#include "app/headless.h"
#include "fuzz_support.h"

FUZZ_TARGET {
    std::vector<KeyChange> changes;
    std::string error;
    if (!ParseKeysScript(FuzzText(data, size), &changes, &error)) {
        Require(!error.empty());
        return 0;
    }
    long last = 0;
    for (const KeyChange& change : changes) {
        Require(change.tick > last);
        last = change.tick;
    }
    return 0;
}
