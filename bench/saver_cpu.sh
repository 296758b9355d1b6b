#!/usr/bin/env bash
# What the saver costs on a full HD X display: the saver's and the X server's
# share of one core, the saver's peak resident memory, its start-up stages and
# what it presents a second, next to a reference XScreenSaver hack measured on
# the same server in the same run. The machine may be busy with other work:
# compare the ratios of one run rather than figures of different runs.
#
#   bench/saver_cpu.sh [-b build/fluxo] [-m Bezier | -d DISPLAY] [-t 20] [-k F5]
#                      [-r interference] [-s 1920x1080]
#   -m  run that module alone          -d  play that saved display instead
#   -t  seconds measured per program   -k  keys sent once the saver runs (e.g. F5)
#   -r  reference hack (name in /usr/libexec/xscreensaver, swirl when it is
#       not installed; "none" skips it)
set -u

fluxo=build/fluxo
module=Bezier
display=""
seconds=20
keys=""
hack=interference
size=1920x1080
while getopts "b:m:d:t:k:r:s:" option; do
  case $option in
    b) fluxo=$OPTARG ;;
    m) module=$OPTARG ;;
    d) display=$OPTARG module="" ;;
    t) seconds=$OPTARG ;;
    k) keys=$OPTARG ;;
    r) hack=$OPTARG ;;
    s) size=$OPTARG ;;
    *) sed -n 8,13p "$0"; exit 2 ;;
  esac
done
settle=1  # seconds left out at the start: start-up is reported by the trace

for tool in Xvfb xdpyinfo xdotool; do
  command -v "$tool" >/dev/null || { echo "saver_cpu: $tool is not installed" >&2; exit 2; }
done
[ -x "$fluxo" ] || { echo "saver_cpu: no program at $fluxo (build the fluxo target)" >&2; exit 2; }
fluxo=$(realpath "$fluxo")

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  rm -rf "$work"
  rm -f "/dev/shm${FLUXO_SHM_NAME:-/none}"
}
trap cleanup EXIT

# A server of our own on a display number nobody uses (the server picks it).
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
server=$!
pids+=("$server")
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "saver_cpu: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"

ticks=$(getconf CLK_TCK)
# Processor time of a process so far, in clock ticks (user + system).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
now_ns() { date +%s%N; }
# Processor time per thread name ("name<TAB>ticks"), threads of one name added up.
thread_ticks() {
  for task in /proc/"$1"/task/*; do
    printf '%s\t%s\n' "$(cat "$task/comm" 2>/dev/null)" "$(awk '{ print $14 + $15 }' "$task/stat" 2>/dev/null)"
  done | awk -F'\t' 'NF == 2 && $2 != "" { ticks[$1] += $2 } END { for (n in ticks) printf "%s\t%d\n", n, ticks[n] }'
}
peak_rss_mb() { awk '/^VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null; }

# Measures process $2 (and the server) for $seconds; prints one line labelled $1.
measure() {
  local label=$1 pid=$2
  sleep "$settle"
  local p0 s0 t0 p1 s1 t1
  p0=$(cpu_ticks "$pid") s0=$(cpu_ticks "$server") t0=$(now_ns)
  thread_ticks "$pid" >"$work/threads.0"
  sleep "$seconds"
  p1=$(cpu_ticks "$pid") s1=$(cpu_ticks "$server") t1=$(now_ns)
  thread_ticks "$pid" >"$work/threads.1"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$label: ended before the measurement was over" >&2
    return 1
  fi
  awk -v l="$label" -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v t=$((t1 - t0)) -v hz="$ticks" -v rss="$(peak_rss_mb "$pid")" \
    'BEGIN { w = t / 1e9; printf "%-24s process %5.1f %%  X server %5.1f %%  together %5.1f %%  peak RSS %6s MB\n",
             l, 100 * p / hz / w, 100 * s / hz / w, 100 * (p + s) / hz / w, rss }'
  # Where the process's share goes, by thread (threads that ended meanwhile are left out).
  awk -F'\t' -v w=$((t1 - t0)) -v hz="$ticks" '
    FNR == NR { before[$1] = $2; next }
    ($1 in before) { line = line sprintf("%s%s %.1f %%", sep, $1, 100 * ($2 - before[$1]) / hz / (w / 1e9)); sep = ", " }
    END { if (line != "") print "  by thread: " line }' "$work/threads.0" "$work/threads.1"
}

stop() {
  kill "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

echo "$(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg); ${size}, ${seconds} s each; % of one core"

# The saver, with its own settings.
export FLUXO_HOME="$work/home" FLUXO_SHM_NAME="/fluxo-saver-cpu-$$" QT_QPA_PLATFORM=xcb FLUXO_TRACE=1
mkdir -p "$FLUXO_HOME"
words=(/s)
if [ -n "$display" ]; then
  "$fluxo" display activate "$display" >/dev/null || exit 1
  label="fluxo ($display)"
else
  words+=(--module "$module")
  label="fluxo ($module)"
fi
[ -n "$keys" ] && label="$label +$keys"

# A first start in fresh settings writes the preset displays; it is traced,
# then the measured run is a second start as a user would see it.
: >"$work/first.err"
"$fluxo" "${words[@]}" 2>>"$work/first.err" &
first=$!
pids+=("$first")
for _ in $(seq 100); do grep -q "first frame presented" "$work/first.err" && break; sleep 0.1; done
stop "$first"
start_up() { grep -E "^fluxo start-up:" "$1" | sed 's/^fluxo start-up: //' | paste -sd ';' | sed 's/;/; /g'; }
echo "start-up, fresh settings: $(start_up "$work/first.err")"

"$fluxo" "${words[@]}" 2>"$work/saver.err" &
saver=$!
pids+=("$saver")
if [ -n "$keys" ]; then
  window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$saver" 2>/dev/null | head -n 1)
  [ -n "$window" ] && xdotool windowfocus --sync "$window" 2>/dev/null
  sleep 0.5
  # shellcheck disable=SC2086  # one word per key
  xdotool key $keys
fi
measure "$label" "$saver"
stop "$saver"
echo "start-up, second start: $(start_up "$work/saver.err")"
# The trace's tally of presents, every few seconds; the last ones fall within the measurement.
grep -E "^fluxo presents:" "$work/saver.err" | tail -n 3 | sed 's/^fluxo /  /'

# The reference hack on the same server.
if [ "$hack" != none ]; then
  hack_path=/usr/libexec/xscreensaver/$hack
  if [ ! -x "$hack_path" ] && [ -x /usr/libexec/xscreensaver/swirl ]; then
    # swirl, like the saver, animates colours over a full-screen picture.
    echo "$hack: not installed; swirl instead"
    hack=swirl hack_path=/usr/libexec/xscreensaver/swirl
  fi
  if [ -x "$hack_path" ]; then
    "$hack_path" -root >/dev/null 2>&1 &
    reference=$!
    pids+=("$reference")
    measure "$hack (xscreensaver)" "$reference"
    stop "$reference"
  else
    echo "$hack: not installed (choose another hack in /usr/libexec/xscreensaver with -r)"
  fi
fi
