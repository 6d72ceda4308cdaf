#!/usr/bin/env bash
# The installed files as the desktop and the distributions check them: the desktop entry
# (desktop-file-validate), the AppStream metainfo (appstreamcli, pedantic, offline) and the man
# page (man's own warnings, every section there, every option of --help). Each check is skipped
# (77) when its tool is not installed.
#
# Usage: validate.sh desktop|metainfo|man BUILD_DIR APP_ID
. "$(dirname "$0")/../lib.bash"
build=$(cd "$2" && pwd)
app=$3
case "$1" in
    desktop)
        need desktop-file-validate
        install_stage "$build"
        out=$(desktop-file-validate "$USR/share/applications/$app.desktop" 2>&1) || fail "$out"
        [ -z "$out" ] || fail "desktop-file-validate: $out"
        grep -qx 'Categories=Game;ArcadeGame;' "$USR/share/applications/$app.desktop" ||
            fail "the desktop entry is not in Game;ArcadeGame;"
        ;;
    metainfo)
        need appstreamcli
        install_stage "$build"
        file=$USR/share/metainfo/$app.metainfo.xml
        logged "$WORK/out.txt" "appstreamcli" appstreamcli validate --pedantic --no-net "$file"
        for element in summary description content_rating screenshot release metadata_license project_license \
                       "control>keyboard</control" "control>gamepad</control"; do
            grep -q "<$element" "$file" || fail "the metainfo has no <$element"
        done
        ;;
    man)
        need man
        install_stage "$build"
        MANWIDTH=80 man --warnings -l "$USR/share/man/man6/vorne.6.gz" >"$WORK/page.txt" 2>"$WORK/warnings.txt" ||
            fail "man could not render the page"
        [ -s "$WORK/warnings.txt" ] && { cat "$WORK/warnings.txt"; fail "man reports warnings"; }
        for section in NAME SYNOPSIS DESCRIPTION OPTIONS CONTROLS FILES "EXIT STATUS"; do
            grep -q "^$section" "$WORK/page.txt" || fail "the man page has no $section section"
        done
        # Every option of --help is on the page.
        for option in $("$build/vorne" --help | grep -o -- '--[a-z-]*' | sort -u); do
            grep -q -- "$option" "$WORK/page.txt" || fail "the man page does not mention $option"
        done
        ;;
    *) fail "unknown check $1" ;;
esac
echo "$1: valid"
