#!/usr/bin/env bash
# Only src/platform may use the platform's libraries. The build gives their include folders to
# no other code, so `#include <SDL.h>` elsewhere does not compile; this catches the spellings that
# would still find a header in /usr/include (<SDL2/SDL.h>, <fluidsynth.h>, <png.h>, ...).
#
# Usage: platform_boundary.sh SOURCE_DIR
. "$(dirname "$0")/../lib.bash"
cd "$1" || exit 2
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL|SDL2/|fluidsynth|fontconfig/|ini\.h|png\.h|X11/|libav|libsw)'
found=$(grep -rnE --include='*.cpp' --include='*.h' --include='*.c' "$pattern" src tools bench | grep -v '^src/platform/')
[ -z "$found" ] || { echo "$found"; fail "the platform's libraries used outside src/platform"; }
echo "platform_boundary: no platform library headers outside src/platform"
