#!/bin/bash
# The X errors the game lets pass, on a real X server (Xvfb): runs the unit test that provokes
# them (SdlXErrors.*, skipped without an X server; the unit tests are beside the binary).
. "$(dirname "$0")/xvfb_lib.bash"
TESTS=$(dirname "$VORNE")/vorne_tests
[ -x "$TESTS" ] || fail "no unit tests at $TESTS"
need Xvfb
e2e_start_xvfb 640x480
VORNE_TEST_X_DISPLAY=$DISPLAY logged "$WORK/tests.log" "the X error test failed" "$TESTS" --gtest_filter='SdlXErrors.*'
grep -q '\[  PASSED  \] 1 test' "$WORK/tests.log" || { cat "$WORK/tests.log"; fail "the X error test did not run"; }
echo "x_errors: a wake-up to a closed window passed, other errors still end the program"
