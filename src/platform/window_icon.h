// The game window's icon, painted by assetgen from the ship's sprite and compiled into the
// executable (build/generated/window_icon.cpp): WINDOW_ICON_SIZE x WINDOW_ICON_SIZE pixels of
// red, green, blue and alpha bytes, top row first. Private to src/platform.
#pragma once

#include <cstdint>

extern const int WINDOW_ICON_SIZE;
extern const uint8_t WINDOW_ICON_RGBA[];
