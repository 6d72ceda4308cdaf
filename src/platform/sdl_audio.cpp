// SDL back-end: sound effects and music. (Stand-in until the real one lands.)
#include "platform/platform_internal.h"

bool SdlSoundInit() { return true; }
bool SdlSoundCreateBuffer(int, const uint8_t*, uint32_t, int, int, int) { return true; }
void SdlSoundPlay(int) {}
void SdlSoundStop(int) {}
void SdlSoundReleaseBuffer(int) {}
void SdlSoundShutdown() {}
void SdlMciSendString(const char*) {}
