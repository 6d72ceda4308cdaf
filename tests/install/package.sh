#!/usr/bin/env bash
# The Debian package, made as a packager makes it: a Release build of its own with Debian's
# hardened build flags (the games layout under /usr; tests off, so GoogleTest and Google Benchmark
# must not even be looked for), then `cpack -G DEB`. lintian must report no errors and no warnings, the package must depend on the
# libraries it links and on the soundfont and the font it reads, and the game unpacked from it
# must play headless from an unrelated folder. Skipped (77) without lintian, dpkg-shlibdeps or
# fakeroot. The build is kept in BUILD_DIR/package-release, so a second run only rebuilds what
# changed.
#
# Usage: package.sh SOURCE_DIR BUILD_DIR CXX_COMPILER WERROR(ON|OFF)
set -u
src=$1
out=$2/package-release
cxx=$3
werror=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
for tool in lintian dpkg-shlibdeps fakeroot; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

# Debian's own compiler and linker flags, with every hardening feature, as its packages are built.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
cmake -S "$src" -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$cxx" -DVORNE_WERROR="$werror" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    -DCMAKE_INSTALL_PREFIX=/usr -DVORNE_INSTALL_GAMES_DIR=ON -DBUILD_TESTING=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; fail "the Release build without tests could not be configured"; }
cmake --build "$out" -j2 >"$work/build.log" 2>&1 || { cat "$work/build.log"; fail "the Release build failed"; }
grep -E 'warning:' "$work/build.log" && fail "the Release build has warnings"
rm -f "$out"/vorne_*.deb
(cd "$out" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack -G DEB failed"; }
deb=$(ls "$out"/vorne_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no vorne_*.deb"

deps=$(dpkg-deb -f "$deb" Depends)
for dep in libsdl2- libfluidsynth libc6 timgm6mb-soundfont fonts-vlgothic; do
    [[ "$deps" == *"$dep"* ]] || fail "the package does not depend on $dep: $deps"
done
lintian --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 || { cat "$work/lintian.txt"; fail "lintian"; }

# The packaged game, unpacked, from an unrelated folder with a home folder of its own.
dpkg-deb -x "$deb" "$work/root"
mkdir -p "$work/home" "$work/elsewhere"
(cd "$work/elsewhere" && env -u XDG_DATA_HOME HOME="$work/home" "$work/root/usr/games/vorne" --headless --ticks 100 \
    --trace t.jsonl) >"$work/run.log" 2>&1 || { cat "$work/run.log"; fail "the packaged game did not run"; }
[ "$(wc -l <"$work/elsewhere/t.jsonl")" = 100 ] || fail "the packaged game's trace does not have 100 ticks"
[[ "$("$work/root/usr/games/vorne" --version)" =~ ^vorne\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version of the packaged game"

sed 's/^/lintian: /' "$work/lintian.txt"
echo "$(basename "$deb"): $(dpkg-deb -c "$deb" | wc -l) entries, Depends: $deps"
