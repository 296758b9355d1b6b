#!/usr/bin/env bash
# fluxo render: writes a PNG, says where, rejects bad input and leaves the
# settings as it found them.
set -u
fluxo="$1"
export FLUXO_HOME=$(mktemp -d)
export FLUXO_SHM_NAME="/fluxo-render-test-$$"
trap 'rm -rf "$FLUXO_HOME"; rm -f "/dev/shm${FLUXO_SHM_NAME}"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

out="$FLUXO_HOME/frame.png"
printed=$("$fluxo" render --module Bezier --size 160x120 --seconds 1 --seed 7 --out "$out") || fail "render exited $?"
[ "$printed" = "$out" ] || fail "printed '$printed' instead of the path"
[ -s "$out" ] || fail "no PNG written"
head -c 8 "$out" | od -An -tx1 | grep -q "89 50 4e 47" || fail "output is not a PNG"

# "Active" is left as it was: absent before, absent after; a set value survives.
"$fluxo" reg query "HKCU\\Control Panel\\Screen Saver.Fluxo" /v Active >/dev/null 2>&1 && fail "render left an Active value behind"
"$fluxo" reg add "HKCU\\Control Panel\\Screen Saver.Fluxo" /v Active /t REG_SZ /d "My Display" /f >/dev/null
"$fluxo" render --module Bezier --size 32x24 --seconds 0.3 --out "$out" >/dev/null || fail "second render failed"
"$fluxo" reg query "HKCU\\Control Panel\\Screen Saver.Fluxo" /v Active | grep -q "My Display" || fail "Active changed"
"$fluxo" reg query "HKCU\\Software\\Fluxo" | grep -qi "Current Version.*0x30009" || fail "version not stamped"

for bad in "--size 0x10" "--size 12" "--seconds -1" "--seconds abc" "--module Nonesuch" "--colour red" "--out"; do
  err=$("$fluxo" render $bad 2>&1 >/dev/null)
  status=$?
  [ $status -eq 1 ] || fail "render $bad exited $status"
  [ -n "$err" ] || fail "render $bad printed no error"
done
"$fluxo" render --module Bezier --seconds 0.2 --out /nonexistent-dir/x.png >/dev/null 2>&1 && fail "unwritable output reported success"

# A sound block of another layout version makes the program refuse and leaves the block alone.
block="/dev/shm${FLUXO_SHM_NAME}"
rm -f "$block"
{ printf '\x16\x04\x00\x00\x05\x00\x00\x00'; head -c 1038 /dev/zero; } > "$block"
before=$(md5sum < "$block")
err=$("$fluxo" render --seconds 0.2 --out "$out" 2>&1 >/dev/null)
status=$?
[ $status -ne 0 ] || fail "a wrong layout version was accepted"
echo "$err" | grep -qi "sound feed" || fail "no clear message for the wrong block: $err"
[ "$(md5sum < "$block")" = "$before" ] || fail "the foreign block was changed"

# Without a display the saver says how to run headless instead of crashing.
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$fluxo" /s 2>&1)
status=$?
[ $status -eq 1 ] || fail "saver without a display exited $status"
echo "$err" | grep -q "fluxo render" || fail "no hint without a display: $err"
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$fluxo" /c 2>&1)
[ $? -eq 1 ] || fail "/c without a display did not exit with status 1"
echo "$err" | grep -q "no display found" || fail "/c message: $err"
"$fluxo" --version | grep -qx "3.9.990" || fail "--version"
"$fluxo" --help | grep -q "render" || fail "--help"

[ $failures -eq 0 ] && echo "render command: all checks passed"
exit $failures
