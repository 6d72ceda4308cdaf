// The JSON writer of the trace and the state dump.
#include "app/json.h"

#include <cstdio>

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

void JsonString(JsonWriter& w, const char* name, std::string_view value) {
    JsonKey(w, name);
    w.text += '"';
    for (char c : value) {
        if (c == '"' || c == '\\') w.text += '\\';
        w.text += c;
    }
    w.text += '"';
}

namespace {

// Arrays and objects open and close alike, but for their brackets.
void Open(JsonWriter& w, const char* name, char bracket) {
    JsonKey(w, name);
    w.text += bracket;
    w.needComma = false;
}

void Close(JsonWriter& w, char bracket) {
    w.text += bracket;
    w.needComma = true;
}

}  // namespace

void JsonBeginArray(JsonWriter& w, const char* name) { Open(w, name, '['); }
void JsonEndArray(JsonWriter& w) { Close(w, ']'); }
void JsonBeginObject(JsonWriter& w, const char* name) { Open(w, name, '{'); }
void JsonEndObject(JsonWriter& w) { Close(w, '}'); }
