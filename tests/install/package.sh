#!/usr/bin/env bash
# The Debian package as a packager makes it: a hardened Release build of its own (kept in
# BUILD_DIR/package-release), `cpack -G DEB`, lintian with no errors or warnings, the libraries,
# soundfont and font among its dependencies, and the unpacked game playing headless from an
# unrelated folder. Skipped (77) without lintian, dpkg-shlibdeps or fakeroot.
#
# Usage: package.sh SOURCE_DIR BUILD_DIR CXX_COMPILER WERROR(ON|OFF)
. "$(dirname "$0")/../lib.bash"
SOURCE=$1
out=$(cd "$2" && pwd)/package-release
need lintian dpkg-shlibdeps fakeroot

# Debian's own compiler and linker flags, with every hardening feature, as its packages are built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
build_without_tests "$out" "the Release build failed" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$3" \
    -DVORNE_WERROR="$4" -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" -DCMAKE_INSTALL_PREFIX=/usr -DVORNE_INSTALL_GAMES_DIR=ON
grep -E 'warning:' "$WORK/build.log" && fail "the Release build has warnings"
rm -f "$out"/vorne_*.deb
cd "$out" || exit 1
logged "$WORK/cpack.log" "cpack -G DEB failed" cpack -G DEB
deb=$(ls "$out"/vorne_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no vorne_*.deb"

deps=$(dpkg-deb -f "$deb" Depends)
for dep in libsdl2- libfluidsynth libc6 timgm6mb-soundfont fonts-vlgothic; do
    [[ "$deps" == *"$dep"* ]] || fail "the package does not depend on $dep: $deps"
done
logged "$WORK/lintian.txt" "lintian" lintian --fail-on error,warning "$deb"

# The packaged game, unpacked, from an unrelated folder with a home folder of its own.
dpkg-deb -x "$deb" "$WORK/root"
mkdir -p "$WORK/home" "$WORK/elsewhere"
(cd "$WORK/elsewhere" && env -u XDG_DATA_HOME HOME="$WORK/home" "$WORK/root/usr/games/vorne" --headless --ticks 100 \
    --trace t.jsonl) >"$WORK/run.log" 2>&1 || { cat "$WORK/run.log"; fail "the packaged game did not run"; }
[ "$(wc -l <"$WORK/elsewhere/t.jsonl")" = 100 ] || fail "the packaged game's trace does not have 100 ticks"
[[ "$("$WORK/root/usr/games/vorne" --version)" =~ ^vorne\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version of the packaged game"

sed 's/^/lintian: /' "$WORK/lintian.txt"
echo "$(basename "$deb"): $(dpkg-deb -c "$deb" | wc -l) entries, Depends: $deps"
