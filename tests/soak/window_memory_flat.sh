#!/usr/bin/env bash
# The real window played for a long time (fire and bomb held, every continue taken), its resident
# memory sampled every 10 s: after the first minute it stays within 2 MB, or in the sanitizer
# build grows by no more than ASan's quarantine of freed memory holds. Not in the default run.
#
# Usage: window_memory_flat.sh VORNE DATA_DIR [MINUTES]   (default 10)
. "$(dirname "$0")/../e2e/xvfb_lib.bash"
minutes=${3:-10}
WARM_UP_S=60
FLAT_KB=2048
need import compare
e2e_setup 1024x768
e2e_start_game --keyboard --windowed
e2e_start_playing
xdotool windowfocus --sync "$E2E_WID" 2>/dev/null
xdotool keydown z x

echo "seconds rss_kb"
start=$SECONDS
samples=()
while [ $((SECONDS - start)) -lt $((minutes * 60)) ]; do
    kill -0 "$E2E_GAME" 2>/dev/null || fail "the game ended after $((SECONDS - start)) s"
    kb=$(awk '/^VmRSS:/ {print $2}' "/proc/$E2E_GAME/status")
    echo "$((SECONDS - start)) $kb"
    [ $((SECONDS - start)) -ge $WARM_UP_S ] && samples+=("$kb")
    sleep 10
done
# Still playing at the end: two pictures a second apart differ.
shot "$E2E_WID" "$WORK/end1.png" && sleep 1 && shot "$E2E_WID" "$WORK/end2.png" ||
    fail "no screenshot of the window could be taken"
moved=$(compare -metric AE "$WORK/end1.png" "$WORK/end2.png" null: 2>&1)
[ "${moved%% *}" != 0 ] || fail "the picture stood still at the end"
xdotool keyup z x
first=${samples[0]}
last=${samples[-1]}
low=$(printf '%s\n' "${samples[@]}" | sort -n | head -n 1)
high=$(printf '%s\n' "${samples[@]}" | sort -n | tail -n 1)
echo "after warm-up: first $first KB, last $last KB, lowest $low KB, highest $high KB, spread $((high - low)) KB"
if ldd "$VORNE" | grep -q 'libasan'; then
    # Freed memory waits in ASan's quarantine (quarantine_size_mb, 256 by default) before it is
    # used again, so the sanitizer build grows until the quarantine is full, then stays.
    quarantine_mb=$(echo "${ASAN_OPTIONS:-}" | sed -n 's/.*quarantine_size_mb=\([0-9]*\).*/\1/p')
    quarantine_kb=$((${quarantine_mb:-256} * 1024))
    [ $((last - first)) -le $((quarantine_kb + FLAT_KB)) ] ||
        fail "grew by $((last - first)) KB, more than the quarantine's $quarantine_kb KB can hold"
    echo "window_memory_flat: $minutes minutes, growth within ASan's quarantine"
else
    [ $((high - low)) -le $FLAT_KB ] || fail "resident memory moved by $((high - low)) KB after the warm-up"
    echo "window_memory_flat: $minutes minutes, memory flat after the warm-up"
fi
