#!/bin/sh
# Runs the wizard's small-screen test on an Xvfb screen of 1024 x 575, in the
# build's Wine prefix (whose server is restarted on that screen and again
# afterwards, with the session of scripts/wine-session if one was up).
#   small_screen.sh <wine-run> <test.exe>
set -eu
wine_run=$1 test=$2
prefix=$(cd "$(dirname "$test")/.." && pwd)/wineprefix
export WINEPREFIX=$prefix
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x575x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r number <"$fifo"
rm -f "$fifo"
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
status=0
DISPLAY=:$number "$wine_run" "$test" --gtest_filter='*SmallScreen*' || status=$?
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
kill "$xvfb" 2>/dev/null || true
# shellcheck disable=SC2086
[ -z "${KX_WINE_SESSION:-}" ] || "$(dirname "$wine_run")/wine-session" $KX_WINE_SESSION || status=1
exit $status
