#!/bin/bash
# The real build where it cannot play: without any display it says so and ends with 1 (SDL would
# otherwise draw into memory); with a display but no data within reach it ends with 0, as the
# game's failed set-up always has, naming the missing picture, the music and every folder
# searched (skipped where this machine has the data installed where the build looks).
. "$(dirname "$0")/xvfb_lib.bash"
mkdir -p "$WORK/home" "$WORK/empty"
link_data "$DATA" "$WORK"
(cd "$WORK" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$WORK" \
    timeout 10 "$VORNE" --keyboard) >"$WORK/game.log" 2>&1
status=$?
[ "$status" = 1 ] || fail "exit status $status without a display, not 1"
grep -q "display" "$WORK/game.log" || fail "no word about the missing display"
note "no display: status 1 and: $(grep display "$WORK/game.log")"

nothing() { (cd "$WORK/empty" && env -u XDG_DATA_HOME HOME="$WORK/home" SDL_AUDIODRIVER=dummy timeout 20 "$VORNE" "$@"); }
folders=$(nothing --help | sed -n '/are looked up in/{n;p}' | sed 's/^ *//')
IFS=',' read -ra searched <<<"${folders// /}"
for folder in "${searched[@]:1}"; do
    [ -e "$folder/palette.dat" ] && skip "$folder holds the game's data"
done
need Xvfb
e2e_start_xvfb 1024x768
nothing --keyboard --windowed >"$WORK/game.log" 2>&1
status=$?
[ "$status" = 0 ] || fail "exit status $status without data, not 0"
records=$WORK/home/.local/share/vorne
grep -qF "vorne: palette.dat is missing: not found in $records, $(dirname "$VORNE")" "$WORK/game.log" ||
    fail "no line naming palette.dat and the folders searched"
grep -qF "vorne: bgm01.mid is missing (not found in $records" "$WORK/game.log" || fail "no line naming the missing music"
echo "window_cannot_start: no display, status 1; no data, status 0 and: $(grep palette.dat "$WORK/game.log")"
