#!/usr/bin/env bash
# The saver on a real (virtual) X display: full screen it ends on a key with
# status 0 and stamps its version; with -window-id it lives inside a foreign
# window, survives input there, and ends when that window goes.
set -u
fluxo="$1"

for tool in xvfb-run xdotool xwininfo xmessage; do
  if ! command -v "$tool" >/dev/null; then
    echo "saver window: skipped, $tool is not installed"
    exit 0
  fi
done

if [ -z "${FLUXO_SAVER_WINDOW_XVFB:-}" ]; then
  export FLUXO_SAVER_WINDOW_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
export FLUXO_HOME="$work/home"
export FLUXO_SHM_NAME="/fluxo-saver-window-test-$$"
mkdir -p "$FLUXO_HOME"
# D-Bus, which Qt's X11 platform loads, keeps an allocation to the end; that
# is not the program's leak when it runs under the address sanitizer.
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
  rm -f "/dev/shm${FLUXO_SHM_NAME}"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits up to $2 seconds for process $1 to end and sets `ended` to its exit
# status, or to "running" when it did not end.
ended=""
wait_for_exit() {
  local pid=$1 deadline=$((SECONDS + $2))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    ended=running
  else
    wait "$pid"
    ended=$?
  fi
}

# Full screen: a key that is not a hot key ends the saver.
"$fluxo" /s 2>"$FLUXO_HOME/saver.err" &
saver=$!
pids+=("$saver")
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$saver" 2>/dev/null | head -n 1)
if [ -z "$window" ]; then
  fail "no saver window appeared: $(cat "$FLUXO_HOME/saver.err")"
else
  geometry=$(xwininfo -id "$window")
  echo "$geometry" | grep -q "Width: 1024" || fail "the saver window does not cover the screen: $geometry"
  xdotool windowfocus --sync "$window" 2>/dev/null
  sleep 0.5  # let the saver get past its first frames
  # What the screen shows is a picture, not one colour.
  if command -v xwd >/dev/null; then
    colours=$(xwd -root -silent | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
h = struct.unpack(">25I", data[:100])
size, bpp, line, ncolors, width, height = h[0], h[11], h[12], h[19], h[4], h[5]
pixels = data[size + 12 * ncolors:]
step = bpp // 8
print(len({pixels[y * line + x * step:y * line + x * step + step] for y in range(0, height, 4) for x in range(0, width, 4)}))')
    [ "${colours:-0}" -gt 1 ] || fail "the saver's screen shows ${colours:-no} colour(s)"
  fi
  xdotool key a
  wait_for_exit "$saver" 10
  [ "$ended" = 0 ] || fail "the saver ended with '$ended' after a key: $(cat "$FLUXO_HOME/saver.err")"
fi

versions=$("$fluxo" reg query "HKCU\\Software\\Fluxo" 2>&1)
echo "$versions" | grep -Eq "Current Version +REG_DWORD +0x30009" || fail "no Current Version 0x30009: $versions"
echo "$versions" | grep -Eq "Build +REG_DWORD +0x3de" || fail "no Build 0x3de: $versions"

# Embedded: a foreign window from another program hosts the saver.
xmessage -geometry 320x240+10+10 -name fluxo-host "Fluxo host window" &
host=$!
pids+=("$host")
parent=$(timeout 20 xdotool search --sync --onlyvisible --classname fluxo-host 2>/dev/null | head -n 1)
if [ -z "$parent" ]; then
  fail "the foreign host window did not appear"
else
  "$fluxo" -window-id "$parent" 2>"$FLUXO_HOME/embedded.err" &
  embedded=$!
  pids+=("$embedded")
  child=""
  for _ in $(seq 100); do
    child=$(xwininfo -children -id "$parent" 2>/dev/null | grep '"Fluxo"')
    [ -n "$child" ] && break
    kill -0 "$embedded" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$child" ] || fail "no Fluxo child inside window $parent: $(cat "$FLUXO_HOME/embedded.err")"
  echo "$child" | grep -q "320x240+0+0" || fail "the embedded saver does not fill its parent: $child"

  # Input inside the host window belongs to its program, not to the saver.
  xdotool mousemove --window "$parent" 100 100 mousemove --window "$parent" 200 150 click 1
  sleep 0.5
  kill -0 "$embedded" 2>/dev/null || fail "input ended the embedded saver"

  # The saver follows its host window's size.
  xdotool windowsize "$parent" 400 300
  child=""
  for _ in $(seq 50); do
    child=$(xwininfo -children -id "$parent" 2>/dev/null | grep '"Fluxo"')
    echo "$child" | grep -q "400x300+0+0" && break
    sleep 0.1
  done
  echo "$child" | grep -q "400x300+0+0" || fail "the embedded saver did not follow its parent's size: $child"

  # When the host window goes, the saver goes with it.
  kill "$host"
  wait_for_exit "$embedded" 10
  [ "$ended" = 0 ] || fail "the embedded saver ended with '$ended' after its host went: $(cat "$FLUXO_HOME/embedded.err")"
fi

# An id that names no window is refused with a message.
err=$("$fluxo" -window-id 0x7ffffff1 2>&1 >/dev/null)
status=$?
[ $status -ne 0 ] || fail "embedding into a missing window reported success"
echo "$err" | grep -q "no such window" || fail "no clear message for a missing window: $err"

[ $failures -eq 0 ] && echo "saver window: all checks passed"
exit $failures
