#!/bin/bash
# The loudness of vorne.ini and of the keys, heard in SDL's disk audio output: with music = 0 the
# title's effects sound (about 2.1-5.7 s) but not one sample of the ship selection's music (about
# 2.6-11.8 s, no ship being chosen), until F10 five times brings it in at 50. Skipped without a
# General MIDI soundfont (the music would be silent anyway).
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

# The peaks (of full scale) of the effects alone, the music at 0 and the music at 50.
python3 - "$SDL_DISKAUDIOFILE" <<'PY' || fail "the peaks should be over 0.05, exactly 0 and over 0.005"
import array, sys
samples = array.array('h', open(sys.argv[1], 'rb').read())
def peak(start, end):
    part = samples[int(start * 44100) * 2:int(end * 44100) * 2]
    return max((abs(v) for v in part), default=-1) / 32768
effects, quiet, music = peak(2.5, 5.0), peak(6.4, 9.2), peak(9.8, 11.3)
print(f"peaks: effects {effects:.5f}, music at 0 {quiet:.5f}, music at 50 {music:.5f}")
sys.exit(not (effects > 0.05 and quiet == 0 and music > 0.005))
PY
echo "settings_sound: music 0 from vorne.ini silent, the effects heard, F10 brought the music back"
