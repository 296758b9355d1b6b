#!/usr/bin/env bash
# Video modes on a virtual X display with RandR: a stored "DisplayMode"
# switches the screen for a full-screen run, and the original mode is back
# after the run, also when the saver is ended with SIGTERM; a preview run
# never switches.
set -u
fluxo="$1"

for tool in Xvfb xdpyinfo xwininfo xmessage xdotool python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "video mode: skipped, $tool is not installed"
    exit 0
  fi
done

work=$(mktemp -d)
export FLUXO_HOME="$work/home"
export FLUXO_SHM_NAME="/fluxo-video-mode-test-$$"
export QT_QPA_PLATFORM=xcb
mkdir -p "$FLUXO_HOME"
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
pids=()
cleanup() {
  exec 3>&-
  # Newest first, so the X server goes last.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null; done
  rm -rf "$work"
  rm -f "/dev/shm${FLUXO_SHM_NAME}"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A display of our own; the server picks a free number and tells it.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
display=""
for _ in $(seq 100); do
  number=$(cat "$work/display" 2>/dev/null)
  if [ -n "$number" ] && xdpyinfo -display ":$number" >/dev/null 2>&1; then
    display=":$number"
    break
  fi
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "video mode: skipped, no Xvfb display could be started: $(cat "$work/xvfb.log")"
  exit 0
fi
export DISPLAY="$display"

# Xvfb offers only the mode it started in. More modes are added to its output
# by a client that keeps them alive while it stays connected.
cat >"$work/add_modes.py" <<'PY'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
xrandr = ctypes.CDLL("libXrandr.so.2")

class ModeInfo(ctypes.Structure):
    _fields_ = [("id", ctypes.c_ulong), ("width", ctypes.c_uint), ("height", ctypes.c_uint),
                ("dotClock", ctypes.c_ulong), ("hSyncStart", ctypes.c_uint), ("hSyncEnd", ctypes.c_uint),
                ("hTotal", ctypes.c_uint), ("hSkew", ctypes.c_uint), ("vSyncStart", ctypes.c_uint),
                ("vSyncEnd", ctypes.c_uint), ("vTotal", ctypes.c_uint), ("name", ctypes.c_char_p),
                ("nameLength", ctypes.c_uint), ("modeFlags", ctypes.c_ulong)]

class Resources(ctypes.Structure):
    _fields_ = [("timestamp", ctypes.c_ulong), ("configTimestamp", ctypes.c_ulong), ("ncrtc", ctypes.c_int),
                ("crtcs", ctypes.c_void_p), ("noutput", ctypes.c_int), ("outputs", ctypes.POINTER(ctypes.c_ulong))]

x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xrandr.XRRGetScreenResources.restype = ctypes.POINTER(Resources)
xrandr.XRRGetScreenResources.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xrandr.XRRCreateMode.restype = ctypes.c_ulong
xrandr.XRRCreateMode.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ModeInfo)]
xrandr.XRRAddOutputMode.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
root = x11.XDefaultRootWindow(display)
output = xrandr.XRRGetScreenResources(display, root).contents.outputs[0]
for size in sys.argv[1:]:
    width, height = (int(v) for v in size.split("x"))
    name = size.encode()
    info = ModeInfo(0, width, height, width * height * 60, width, width, width, 0, height, height, height,
                    name, len(name), 0)
    xrandr.XRRAddOutputMode(display, output, xrandr.XRRCreateMode(display, root, ctypes.byref(info)))
x11.XSync(display, 0)
print("ready", flush=True)
sys.stdin.read()
PY
mkfifo "$work/keep"
python3 "$work/add_modes.py" 800x600 1024x768 <"$work/keep" >"$work/modes.out" 2>&1 &
pids+=($!)
exec 3>"$work/keep"  # the helper keeps the modes until this closes
for _ in $(seq 50); do grep -q ready "$work/modes.out" && break; sleep 0.1; done
if ! grep -q ready "$work/modes.out"; then
  echo "video mode: skipped, the display's RandR takes no extra modes: $(cat "$work/modes.out")"
  exit 0
fi

screen_size() { xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*x[0-9]*\) pixels.*/\1/p'; }
settings_key="HKCU\\Control Panel\\Screen Saver.Fluxo"
le32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
zeros() { local i; for ((i = 0; i < $1; i++)); do printf '00'; done; }
# The 156-byte record: bits per pixel at 104, width at 108, height at 112.
store_mode() {
  "$fluxo" reg add "$settings_key" /v DisplayMode /t REG_BINARY /f \
    /d "$(zeros 104)$(le32 "$1")$(le32 "$2")$(le32 "$3")$(zeros 40)" >/dev/null
}

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

# Waits up to 10 seconds for the screen to have size $1.
wait_for_size() {
  for _ in $(seq 100); do
    [ "$(screen_size)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# A full-screen run with a stored mode; $1 is the signal that ends it.
full_screen_run() {
  local signal=$1
  "$fluxo" /s 2>"$work/saver-$signal.err" &
  local saver=$!
  pids+=("$saver")
  if ! wait_for_size 800x600; then
    fail "the full-screen run did not switch to 800x600 (screen $(screen_size)): $(cat "$work/saver-$signal.err")"
  else
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$saver" 2>/dev/null | head -n 1)
    local geometry
    geometry=$(xwininfo -id "$window" 2>&1)
    echo "$geometry" | grep -q "Width: 800" && echo "$geometry" | grep -q "Height: 600" ||
      fail "the saver window does not have the mode's size: $geometry"
  fi
  kill "-$signal" "$saver"
  wait_for_exit "$saver" 10
  [ "$ended" = 0 ] || fail "the saver ended with '$ended' after SIG$signal: $(cat "$work/saver-$signal.err")"
  wait_for_size 1280x1024 || fail "the original mode is not back after SIG$signal (screen $(screen_size))"
}

[ "$(screen_size)" = 1280x1024 ] || fail "unexpected starting size $(screen_size)"
store_mode 8 800 600
full_screen_run TERM
full_screen_run INT
full_screen_run HUP

# A mode the screen does not offer: the run goes on in the mode it has.
store_mode 8 640 480
"$fluxo" /s 2>"$work/unknown.err" &
saver=$!
pids+=("$saver")
window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$saver" 2>/dev/null | head -n 1)
[ -n "$window" ] || fail "no saver window with an unknown mode: $(cat "$work/unknown.err")"
[ "$(screen_size)" = 1280x1024 ] || fail "an unknown mode changed the screen to $(screen_size)"
xwininfo -id "$window" 2>&1 | grep -q "Width: 1280" || fail "the saver does not cover the screen after a refused mode"
kill -TERM "$saver"
wait_for_exit "$saver" 10
[ "$ended" = 0 ] || fail "the saver with an unknown mode ended with '$ended'"

# A preview never switches, whatever is stored.
store_mode 8 800 600
xmessage -geometry 320x240+10+10 -name fluxo-host "Fluxo preview host" &
host=$!
pids+=("$host")
parent=$(timeout 20 xdotool search --sync --onlyvisible --classname fluxo-host 2>/dev/null | head -n 1)
if [ -z "$parent" ]; then
  fail "the preview host window did not appear"
else
  "$fluxo" /p "$parent" 2>"$work/preview.err" &
  preview=$!
  pids+=("$preview")
  child=""
  for _ in $(seq 100); do
    child=$(xwininfo -children -id "$parent" 2>/dev/null | grep '"Fluxo"')
    [ -n "$child" ] && break
    kill -0 "$preview" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$child" ] || fail "no preview inside window $parent: $(cat "$work/preview.err")"
  sleep 1
  [ "$(screen_size)" = 1280x1024 ] || fail "the preview switched the screen to $(screen_size)"
  kill -TERM "$preview"
  wait_for_exit "$preview" 10
  [ "$ended" = 0 ] || fail "the preview ended with '$ended' after SIGTERM"
fi

# A headless render the size of the screen draws offscreen and leaves the screen alone.
"$fluxo" render --module Bezier --size 1280x1024 --seconds 2 --seed 1 --out "$work/frame.png" >/dev/null 2>&1 &
render=$!
pids+=("$render")
while kill -0 "$render" 2>/dev/null; do
  size=$(screen_size)
  [ "$size" = 1280x1024 ] || { fail "a headless render switched the screen to $size"; break; }
  sleep 0.1
done
wait_for_exit "$render" 20
[ "$ended" = 0 ] || fail "the headless render ended with '$ended'"

[ "$(screen_size)" = 1280x1024 ] || fail "the screen did not end in its original mode: $(screen_size)"
[ $failures -eq 0 ] && echo "video mode: all checks passed"
exit $failures
