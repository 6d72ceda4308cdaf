// The JSON writer of the headless runner's trace lines and state dump: compact output, keys in
// the order written.
#pragma once

#include <string>
#include <string_view>

struct JsonWriter {
    std::string text;
    bool needComma = false;
};

// Every writer below takes the key's name, or nullptr for an element of an array.
void JsonKey(JsonWriter& w, const char* name);
void JsonInt(JsonWriter& w, const char* name, long long value);
void JsonFloat(JsonWriter& w, const char* name, double value);
void JsonString(JsonWriter& w, const char* name, std::string_view value);
// Opens a named array of records; each record is written as an object with JsonBeginObject.
void JsonBeginArray(JsonWriter& w, const char* name);
void JsonEndArray(JsonWriter& w);
void JsonBeginObject(JsonWriter& w, const char* name);  // name nullptr inside an array
void JsonEndObject(JsonWriter& w);
