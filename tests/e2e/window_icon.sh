#!/bin/bash
# The game window carries the game's icon: _NET_WM_ICON holds the 64-pixel icon, pixel for pixel
# the picture installed as the desktop icon of that size (DATA_DIR/../icons/vorne-64.png).
. "$(dirname "$0")/xvfb_lib.bash"
need xprop convert
e2e_setup 1024x768
e2e_start_game --keyboard --windowed
# The property as plain numbers: width, height, then one 0xAARRGGBB value a pixel, top row first.
xprop -id "$E2E_WID" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= *//' | tr -d ' ' | tr ',' '\n' \
    >"$WORK/window-icon.txt"
[ "$(head -n 2 "$WORK/window-icon.txt" | tr '\n' ' ')" = "64 64 " ] ||
    fail "the window has no 64 x 64 icon: $(head -c 200 "$WORK/window-icon.txt")"
convert "$DATA/../icons/vorne-64.png" -depth 8 rgba:- | od -An -tu1 -v |
    awk '{for (i = 1; i <= NF; i++) b[n++] = $i} END {for (p = 0; p < n; p += 4) printf "%.0f\n", b[p+3] * 16777216 + b[p] * 65536 + b[p+1] * 256 + b[p+2]}' |
    cmp -s - <(tail -n +3 "$WORK/window-icon.txt") || fail "the window's icon differs from icons/vorne-64.png"
e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"
echo "window_icon: the window shows the 64-pixel icon"
