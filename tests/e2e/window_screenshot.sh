#!/bin/bash
# F12 in the real window (Xvfb): the screenshot is the 640 x 480 screen in its palette, the very
# file the headless runner's --shot writes for the same picture (the splash, which holds still
# for its first 1.7 s); it lands in $XDG_PICTURES_DIR/VORNE as user-dirs.dirs names it, its path
# on stderr; a second shot straight after (the same second) is a file of its own.
#
# Usage: window_screenshot.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, xdotool or
# ImageMagick.
set -u
VORNE=$1
DATA=$2
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb xdotool import convert identify
e2e_start_xvfb 1280x1024
e2e_copy_data "$DATA"
e2e_reference "$VORNE" 30 100%

export HOME=$E2E_WORK/home XDG_CONFIG_HOME=$E2E_WORK/home/config
unset XDG_PICTURES_DIR XDG_DATA_HOME
mkdir -p "$XDG_CONFIG_HOME"
echo 'XDG_PICTURES_DIR="$HOME/My Pictures"' >"$XDG_CONFIG_HOME/user-dirs.dirs"
shots="$HOME/My Pictures/VORNE"

e2e_start_game "$VORNE" --keyboard --windowed
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null || xdotool windowfocus "$E2E_WID"
# Once the window shows more than a colour or two, the first ticks are drawn; the splash then
# holds still until about 1.7 s.
for _ in $(seq 40); do
    import -window "$E2E_WID" "$E2E_WORK/window.png" 2>/dev/null &&
        [ "$(convert "$E2E_WORK/window.png" -format %k info:)" -gt 2 ] && break
    sleep 0.05
done
xdotool key F12 key F12
for _ in $(seq 60); do
    [ "$(ls "$shots" 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.05
done
e2e_hold Escape
e2e_expect_exit 0 "ESC on the splash"

mapfile -t files < <(ls "$shots" 2>/dev/null)
[ "${#files[@]}" = 2 ] || e2e_fail "${#files[@]} screenshots in $shots, not 2: ${files[*]}"
for f in "${files[@]}"; do
    [[ "$f" =~ ^vorne-[0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}(-2)?\.png$ ]] || e2e_fail "unexpected name $f"
    grep -qF "screenshot saved as $shots/$f" "$E2E_WORK/game.log" || e2e_fail "$f was not named on stderr"
    cmp -s "$shots/$f" "$E2E_WORK/shot.png" || e2e_fail "$f is not the headless runner's shot of the splash"
done
[ "$(identify -format '%wx%h %[type]' "$shots/${files[0]}")" = "640x480 Palette" ] ||
    e2e_fail "the screenshot is $(identify -format '%wx%h %[type]' "$shots/${files[0]}"), not 640x480 in a palette"
echo "window_screenshot: F12 twice gave two files in $shots, each the headless shot of the splash"
