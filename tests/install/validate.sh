#!/usr/bin/env bash
# The installed files as the desktop and the distributions check them: the desktop entry
# (desktop-file-validate), the AppStream metainfo (appstreamcli, pedantic, offline) and the man
# page (man's own warnings, every section there, every option of --help). Each check is skipped
# (77) when its tool is not installed.
#
# Usage: validate.sh desktop|metainfo|man BUILD_DIR APP_ID
set -u
kind=$1
build=$(cd "$2" && pwd)
app=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
need() {
    command -v "$1" >/dev/null 2>&1 || { echo "skipped: $1 is not installed"; exit 77; }
}
install_to_stage() {
    DESTDIR=$work/stage cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
        { cat "$work/install.log"; fail "cmake --install failed"; }
}

case "$kind" in
    desktop)
        need desktop-file-validate
        install_to_stage
        out=$(desktop-file-validate "$work/stage/usr/share/applications/$app.desktop" 2>&1) || fail "$out"
        [ -z "$out" ] || fail "desktop-file-validate: $out"
        grep -qx 'Categories=Game;ArcadeGame;' "$work/stage/usr/share/applications/$app.desktop" ||
            fail "the desktop entry is not in Game;ArcadeGame;"
        echo "desktop entry valid"
        ;;
    metainfo)
        need appstreamcli
        install_to_stage
        file=$work/stage/usr/share/metainfo/$app.metainfo.xml
        appstreamcli validate --pedantic --no-net "$file" >"$work/out.txt" 2>&1 || { cat "$work/out.txt"; fail "appstreamcli"; }
        for element in summary description content_rating screenshot release metadata_license project_license; do
            grep -q "<$element" "$file" || fail "the metainfo has no <$element>"
        done
        for control in keyboard gamepad; do
            grep -q "<control>$control</control>" "$file" || fail "the metainfo names no $control control"
        done
        echo "metainfo valid"
        ;;
    man)
        need man
        install_to_stage
        page=$work/stage/usr/share/man/man6/vorne.6.gz
        MANWIDTH=80 man --warnings -l "$page" >"$work/page.txt" 2>"$work/warnings.txt" || fail "man could not render the page"
        [ -s "$work/warnings.txt" ] && { cat "$work/warnings.txt"; fail "man reports warnings"; }
        for section in NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS FILES "EXIT STATUS"; do
            grep -q "^$section" "$work/page.txt" || fail "the man page has no $section section"
        done
        # Every option of --help is on the page.
        for option in $("$build/vorne" --help | grep -o -- '--[a-z-]*' | sort -u); do
            grep -q -- "$option" "$work/page.txt" || fail "the man page does not mention $option"
        done
        echo "man page renders cleanly"
        ;;
    *)
        fail "unknown check $kind"
        ;;
esac
