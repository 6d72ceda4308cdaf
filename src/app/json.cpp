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
