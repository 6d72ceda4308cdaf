#!/bin/bash
# The real build started with no data within reach (an empty folder, a home folder of its own):
# the start ends with status 0 as the game's failed set-up always has, and its line on stderr
# names the missing picture and every folder searched; the missing music is named as well.
#
# Usage: window_missing_data.sh VORNE_BINARY DATA_DIR. Exit 77 (skipped) without Xvfb, or when
# this machine has the game's data installed where the build looks for it.
set -u
VORNE=$1
. "$(dirname "$0")/xvfb_lib.bash"

e2e_require Xvfb
home=$E2E_WORK/home
mkdir -p "$home" "$E2E_WORK/empty"
folders=$(cd "$E2E_WORK/empty" && env -u XDG_DATA_HOME HOME="$home" "$VORNE" --help | sed -n '/are looked up in/{n;p}' | sed 's/^ *//')
IFS=',' read -ra searched <<<"${folders// /}"
for folder in "${searched[@]:1}"; do
    [ -e "$folder/palette.dat" ] && e2e_skip "$folder holds the game's data"
done

e2e_start_xvfb 1024x768
(cd "$E2E_WORK/empty" && env -u XDG_DATA_HOME HOME="$home" SDL_AUDIODRIVER=dummy timeout 20 "$VORNE" --keyboard --windowed) \
    >"$E2E_WORK/game.log" 2>&1
status=$?
[ "$status" = 0 ] || e2e_fail "exit status $status without data, not 0"
records=$home/.local/share/vorne
grep -qF "vorne: palette.dat is missing: not found in $records, $(dirname "$VORNE")" "$E2E_WORK/game.log" ||
    e2e_fail "no line naming palette.dat and the folders searched"
grep -qF "vorne: bgm01.mid is missing (not found in $records" "$E2E_WORK/game.log" ||
    e2e_fail "no line naming the missing music"
echo "window_missing_data: status 0 and: $(grep palette.dat "$E2E_WORK/game.log")"
