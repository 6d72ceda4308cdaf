// Fuzz target: the settings file's reader (INI, read with inih). Whatever the text, what it
// sets stays within the ranges the game takes.
#include "fuzz_support.h"
#include "platform/settings.h"

FUZZ_TARGET {
    PlayerSettings s;
    std::vector<std::string> errors;
    Require(ParseSettings(FuzzText(data, size), &s, &errors) == errors.empty());
    Require(s.musicVolume >= 0 && s.musicVolume <= SETTINGS_VOLUME_MAX);
    Require(s.effectsVolume >= 0 && s.effectsVolume <= SETTINGS_VOLUME_MAX);
    for (int action = 0; action < SETTINGS_ACTIONS; ++action) {
        Require(s.keyCount[action] >= 0 && s.keyCount[action] <= SETTINGS_MAX_KEYS);
        Require(s.buttonCount[action] >= 0 && s.buttonCount[action] <= SETTINGS_MAX_BUTTONS);
        for (int i = 0; i < s.keyCount[action]; ++i) Require(!SettingsKeyIsReserved(s.keys[action][i]));
    }
    return 0;
}
