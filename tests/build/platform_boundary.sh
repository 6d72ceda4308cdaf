#!/usr/bin/env bash
# Only src/platform may use the platform's libraries. The build gives their include folders to
# no other code, so `#include <SDL.h>` elsewhere does not compile; this catches the spellings that
# would still find a header in /usr/include (<SDL2/SDL.h>, <fluidsynth.h>, <png.h>, ...).
#
# Usage: platform_boundary.sh SOURCE_DIR
set -u
cd "$1" || exit 2
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|fluidsynth|fontconfig/|ini\.h|png\.h|X11/|libav|libsw)'
found=$(grep -rnE --include='*.cpp' --include='*.h' --include='*.c' "$pattern" src tools bench | grep -v '^src/platform/')
if [ -n "$found" ]; then
    echo "$found"
    echo "FAIL: the platform's libraries used outside src/platform"
    exit 1
fi
echo "platform_boundary: no platform library headers outside src/platform"
