// SDL back-end: message boxes. (Stand-in until the real one lands.)
#include <cstdio>

#include "platform/platform_internal.h"

void SdlMessageBox(const char* text, const char* caption) { std::fprintf(stderr, "%s: %s\n", caption, text); }
