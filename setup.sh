#!/usr/bin/env bash
# Sets VORNE up on a Debian 12 machine and then plays or tests it.
#
#   ./setup.sh play [vorne options]   install what is missing, build, generate the data, start the game
#   ./setup.sh test                   install what is missing, build (normal and sanitizer builds), run every test
#
# Packages are installed with apt-get when run as root; otherwise the exact apt-get line is
# printed and the script stops. Nothing is downloaded at build or run time.
set -euo pipefail

cd "$(dirname "$0")"
mode="${1:-}"
[ $# -gt 0 ] && shift

# Building needs the compiler and the libraries' headers; playing needs, besides, what the game
# reads at run time (the soundfont of its music, the Japanese font of its dialog); testing needs
# the test frameworks, an X server and its tools, the second compiler (with its libFuzzer and
# sanitizer runtimes, for the fuzz targets), and the validators of the installed files and the
# package.
BUILD_PACKAGES=(cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libfluidsynth-dev libx11-dev libfontconfig-dev
                libinih-dev libpng-dev libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev)
PLAY_PACKAGES=(fonts-vlgothic timgm6mb-soundfont)
TEST_PACKAGES=(libgtest-dev libbenchmark-dev python3 xvfb xdotool x11-utils imagemagick sox openbox clang clang-format
               libclang-rt-14-dev strace desktop-file-utils appstream man-db lintian dpkg-dev fakeroot weston
               libweston-10-dev)

usage() {
    echo "usage: ./setup.sh play [vorne options] | ./setup.sh test" >&2
    exit 2
}

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "setup: installing ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "setup: these packages are missing; install them and run this again:" >&2
        echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {  # build DIR [cmake options]
    local dir="$1"
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORNE_WERROR=ON "$@" > /dev/null
    cmake --build "$dir" -j "$jobs"
}

case "$mode" in
    play)
        install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}"
        build build -DBUILD_TESTING=OFF
        cd build/data
        exec ../vorne "$@"
        ;;
    test)
        install_missing "${BUILD_PACKAGES[@]}" "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
        build build -DBUILD_TESTING=ON
        build build-asan -DBUILD_TESTING=ON -DVORNE_SANITIZE=ON -DVORNE_BENCHMARKS=OFF
        status=0
        # The long runs (label "long": an hour of play under the sanitizers) are left out here;
        # README says how to run them.
        echo "== tests: normal build"
        ctest --test-dir build --output-on-failure -j "$jobs" -LE long || status=1
        echo "== tests: sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer), and the fuzz targets"
        ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
            ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE long || status=1
        exit $status
        ;;
    *)
        usage
        ;;
esac
