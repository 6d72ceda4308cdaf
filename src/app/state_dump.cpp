// The JSON writer of the state dump, and the application shell's own section.
#include "app/state_dump.h"

#include <cstdio>

#include "app/game.h"
#include "app/trace.h"
#include "input/input.h"
#include "player/player.h"
#include "video/display.h"

void JsonKey(JsonWriter& w, const char* name) {
    if (w.needComma) w.text += ',';
    if (name) {
        w.text += '"';
        w.text += name;
        w.text += "\":";
    }
    w.needComma = true;
}

void JsonInt(JsonWriter& w, const char* name, long long value) {
    JsonKey(w, name);
    w.text += std::to_string(value);
}

void JsonFloat(JsonWriter& w, const char* name, double value) {
    JsonKey(w, name);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", value);
    w.text += buffer;
}

void JsonString(JsonWriter& w, const char* name, const std::string& value) {
    JsonKey(w, name);
    w.text += '"';
    for (char c : value) {
        if (c == '"' || c == '\\') w.text += '\\';
        w.text += c;
    }
    w.text += '"';
}

void JsonBeginArray(JsonWriter& w, const char* name) {
    JsonKey(w, name);
    w.text += '[';
    w.needComma = false;
}

void JsonEndArray(JsonWriter& w) {
    w.text += ']';
    w.needComma = true;
}

void JsonBeginObject(JsonWriter& w, const char* name) {
    JsonKey(w, name);
    w.text += '{';
    w.needComma = false;
}

void JsonEndObject(JsonWriter& w) {
    w.text += '}';
    w.needComma = true;
}

void DumpAppState(JsonWriter& w) {
    JsonInt(w, "g_useJoystick", g_useJoystick);
    JsonInt(w, "g_watchingReplay", g_watchingReplay);
    JsonInt(w, "g_appActive", g_appActive);
    JsonInt(w, "g_paused", g_paused);
    JsonInt(w, "g_pauseRequested", g_pauseRequested);
    JsonInt(w, "g_lastFrameTime", g_lastFrameTime);
    JsonInt(w, "g_frameInterval", g_frameInterval);
    JsonInt(w, "g_fieldClearColour", g_fieldClearColour);
    JsonInt(w, "g_baseClearColour", g_baseClearColour);
    JsonInt(w, "g_largeDisplay", g_largeDisplay);
    JsonInt(w, "g_magnify", g_magnify);
    JsonInt(w, "g_screenWidth", g_screenWidth);
    JsonInt(w, "g_screenHeight", g_screenHeight);
    JsonInt(w, "g_screenState", g_screenState);
    JsonInt(w, "g_splashTimer", g_splashTimer);
    JsonInt(w, "g_titleInputDelay", g_titleInputDelay);
    JsonInt(w, "g_blinkTimer", g_blinkTimer);
    const TitleLogoPiece* pieces[2] = {&g_titleLogoUpper, &g_titleLogoLower};
    const char* names[2] = {"g_titleLogoUpper", "g_titleLogoLower"};
    for (int i = 0; i < 2; ++i) {
        JsonBeginObject(w, names[i]);
        JsonInt(w, "x", pieces[i]->x);
        JsonInt(w, "y", pieces[i]->y);
        JsonInt(w, "width", pieces[i]->width);
        JsonInt(w, "height", pieces[i]->height);
        JsonEndObject(w);
    }
    JsonInt(w, "g_fpsFrameCount", g_fpsFrameCount);
    JsonFloat(w, "g_fpsValue", g_fpsValue);
    JsonInt(w, "g_fpsNextTick", g_fpsNextTick);
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", FieldHash());
    JsonString(w, "fieldHash", hash);
}

void DumpInputState(JsonWriter& w) {
    JsonBeginObject(w, "g_joystickState");
    JsonInt(w, "left", g_joystickState.left);
    JsonInt(w, "right", g_joystickState.right);
    JsonInt(w, "up", g_joystickState.up);
    JsonInt(w, "down", g_joystickState.down);
    JsonBeginArray(w, "buttons");
    for (uint8_t b : g_joystickState.buttons) JsonInt(w, nullptr, b);
    JsonEndArray(w);
    JsonEndObject(w);
    JsonInt(w, "g_replayFrame", g_replayFrame);
    JsonInt(w, "g_savedHiScore", g_savedHiScore);
}

std::string StateDump() {
    JsonWriter w;
    w.text.push_back('{');
    DumpAppState(w);
    DumpInputState(w);
    DumpPlayerState(w);
    DumpEnemyFireState(w);
    DumpStageState(w);
    w.text += "}\n";
    return w.text;
}
