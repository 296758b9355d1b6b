#!/usr/bin/env bash
# fluxo /c and the previews it starts: the dialog's pictures are written for
# every page, it refuses to run without the sound feed, and a preview with
# "--display NAME" plays that display and leaves "Active" alone.
set -u
fluxo="$1"
export FLUXO_HOME=$(mktemp -d)
export FLUXO_SHM_NAME="/fluxo-config-test-$$"
trap 'rm -rf "$FLUXO_HOME"; rm -f /dev/shm${FLUXO_SHM_NAME}*' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
active() { "$fluxo" reg query "HKCU\\Control Panel\\Screen Saver.Fluxo" /v Active 2>/dev/null | grep -o "REG_SZ.*"; }

# The tour shows every page and closes the dialog by itself.
shots="$FLUXO_HOME/shots"
QT_QPA_PLATFORM=offscreen FLUXO_SCREENSHOTS="$shots" timeout 120 "$fluxo" /c || fail "the page tour exited $?"
[ "$(ls "$shots"/config-*.png 2>/dev/null | wc -l)" -eq 26 ] || fail "not 26 page pictures: $(ls "$shots" 2>&1)"
[ -s "$shots/config-21-main-settings.png" ] || fail "no picture of Main Settings"
"$fluxo" display list | grep -q "\[D\] Plasma" || fail "the dialog's start made no preset displays"

# Unknown displays are refused before anything starts.
err=$("$fluxo" /p 12345 --display "No Such Display" 2>&1)
[ $? -eq 1 ] || fail "an unknown --display was accepted"
grep -q 'no display "No Such Display"' <<<"$err" || fail "unknown --display message: $err"
err=$("$fluxo" /s --display 2>&1)
[ $? -eq 1 ] || fail "--display without a name was accepted"

# A sound block of another layout: a clear message, no dialog.
block="/dev/shm${FLUXO_SHM_NAME}"
rm -f "$block"
{ printf '\x16\x04\x00\x00\x05\x00\x00\x00'; head -c 1038 /dev/zero; } >"$block"
err=$(QT_QPA_PLATFORM=offscreen FLUXO_SCREENSHOTS="$FLUXO_HOME/none" timeout 60 "$fluxo" /c 2>&1)
status=$?
[ $status -ne 0 ] && [ $status -ne 124 ] || fail "/c ran with a foreign sound block (status $status)"
grep -qi "sound feed" <<<"$err" || fail "no clear message for the foreign block: $err"
[ -e "$FLUXO_HOME/none" ] && fail "the dialog was shown with a foreign sound block"
rm -f "$block"

# A preview of a chosen display, drawn into the root window of a virtual screen.
if command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null; then
  "$fluxo" display activate "[D] Bezier" >/dev/null || fail "display activate"
  before=$(active)
  playing=$(env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 320x240x24" bash -c '
    root=$(xwininfo -root | awk "/Window id/{print \$4}")
    "$0" /p "$root" --display "[D] Plasma" & child=$!
    sleep 3
    # The name of the display playing, as the feed carries it.
    dd if="/dev/shm${FLUXO_SHM_NAME}" bs=1 skip=764 count=128 2>/dev/null | tr -d "\0"
    kill -TERM $child; wait $child' "$fluxo")
  [ "$playing" = "[D] Plasma" ] || fail "the preview played '$playing'"
  [ "$(active)" = "$before" ] || fail "the preview changed Active: $(active)"
else
  echo "no xvfb-run: the preview check is skipped"
fi

[ $failures -eq 0 ] && echo "configuration run: all checks passed"
exit $failures
