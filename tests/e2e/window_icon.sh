#!/bin/bash
# The game window carries the game's icon: _NET_WM_ICON holds the 64-pixel icon, pixel for pixel
# the picture installed as the desktop icon of that size.
#
# Usage: window_icon.sh VORNE_BINARY DATA_DIR (the icons are in DATA_DIR/../icons). Exit 77
# (skipped) without Xvfb, xdotool, xprop or ImageMagick.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb xdotool xprop convert
e2e_start_xvfb 1024x768
e2e_copy_data "$DATA"
e2e_start_game "$VORNE" --keyboard --windowed

# The property as plain numbers: width, height, then one 0xAARRGGBB value a pixel, top row first.
xprop -id "$E2E_WID" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= *//' | tr -d ' ' | tr ',' '\n' \
    >"$E2E_WORK/window-icon.txt"
[ "$(head -n 2 "$E2E_WORK/window-icon.txt" | tr '\n' ' ')" = "64 64 " ] ||
    e2e_fail "the window has no 64 x 64 icon: $(head -c 200 "$E2E_WORK/window-icon.txt")"
convert "$DATA/../icons/vorne-64.png" -depth 8 rgba:- | od -An -tu1 -v |
    awk '{for (i = 1; i <= NF; i++) b[n++] = $i} END {for (p = 0; p < n; p += 4) printf "%.0f\n", b[p+3] * 16777216 + b[p] * 65536 + b[p+1] * 256 + b[p+2]}' \
    >"$E2E_WORK/expected-icon.txt"
tail -n +3 "$E2E_WORK/window-icon.txt" | cmp -s - "$E2E_WORK/expected-icon.txt" ||
    e2e_fail "the window's icon differs from icons/vorne-64.png"

e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"
echo "window_icon: the window shows the 64-pixel icon"
