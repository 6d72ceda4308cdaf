#!/bin/bash
# The loudness of the settings file and of the keys, heard in SDL's disk audio output (Xvfb): with
# music = 0 in vorne.ini the title's effects sound (the logo's arrival, from about 2 s) while the
# music that starts with the ship selection is not heard at all, not one sample; F10 five times
# (music 50) brings it in. The shot pressed once on the title starts the game; nothing chooses a
# ship, so the selection, with its music only, lasts about 9 s: splash 0-1.7 s, logo and its
# effects about 2.1-5.7 s, ship selection music from about 2.6 s to about 11.8 s. Skipped without
# a General MIDI soundfont (the music would be silent anyway).
. "$(dirname "$0")/xvfb_lib.bash"
need python3
[ -n "${SDL_SOUNDFONTS:-}" ] || ls /usr/share/sounds/sf2/*.sf2 >/dev/null 2>&1 || skip "no General MIDI soundfont"
e2e_setup 1280x1024
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/config
mkdir -p "$XDG_CONFIG_HOME/vorne"
printf '; the music off, the effects as they are\n[sound]\nmusic = 0\n' >"$XDG_CONFIG_HOME/vorne/vorne.ini"

export E2E_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/out.raw
e2e_start_game --keyboard --windowed
# The shot once the title is up starts the game; let go at once, it chooses no ship.
sleep 2.6
e2e_hold z
sleep 6.5
for _ in 1 2 3 4 5; do xdotool key F10; done
sleep 2.2
e2e_hold Escape
sleep 0.3
e2e_hold Escape
e2e_expect_exit 0 "ESC twice"
grep -q "music louder (music 50" "$WORK/game.log" || fail "F10 did not raise the music to 50"

# Peaks (of full scale) of three stretches of the output: the effects only (over 0.05), nothing
# (exactly 0), the music at 50 (over 0.005).
verdict=$(python3 - "$SDL_DISKAUDIOFILE" <<'PY'
import array, sys
samples = array.array('h', open(sys.argv[1], 'rb').read())
def peak(start, end):
    part = samples[int(start * 44100) * 2:int(end * 44100) * 2]
    return max((abs(v) for v in part), default=-1) / 32768
effects, quiet, music = peak(2.5, 5.0), peak(6.4, 9.2), peak(9.8, 11.3)
print(f"peaks: effects {effects:.5f}, music at 0 {quiet:.5f}, music at 50 {music:.5f}")
if effects <= 0.05: print("the effects are not heard")
if quiet != 0: print("music at 0 is heard")
if music <= 0.005: print("the music at 50 is not heard")
PY
)
echo "$verdict" | head -1
[ "$(echo "$verdict" | wc -l)" = 1 ] || fail "$(echo "$verdict" | tail -n +2 | paste -sd ';')"
echo "settings_sound: music 0 from vorne.ini silent, the effects heard, F10 brought the music back"
