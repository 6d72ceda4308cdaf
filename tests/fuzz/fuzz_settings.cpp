// Fuzz target: the settings file's reader (INI, read with inih). Whatever the text, what it
// sets stays within the ranges the game takes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    PlayerSettings settings;
    std::vector<std::string> errors;
    const bool clean = ParseSettings(text, &settings, &errors);
    if (clean != errors.empty()) __builtin_trap();
    if (settings.musicVolume < 0 || settings.musicVolume > SETTINGS_VOLUME_MAX) __builtin_trap();
    if (settings.effectsVolume < 0 || settings.effectsVolume > SETTINGS_VOLUME_MAX) __builtin_trap();
    for (int action = 0; action < SETTINGS_ACTIONS; ++action) {
        if (settings.keyCount[action] < 0 || settings.keyCount[action] > SETTINGS_MAX_KEYS) __builtin_trap();
        if (settings.buttonCount[action] < 0 || settings.buttonCount[action] > SETTINGS_MAX_BUTTONS) __builtin_trap();
        for (int i = 0; i < settings.keyCount[action]; ++i) {
            if (SettingsKeyIsReserved(settings.keys[action][i])) __builtin_trap();
        }
    }
    return 0;
}
