#!/usr/bin/env bash
# Pictures of every page of the configuration dialog for the documentation:
# docs/images/config-<nn>-<title>.png. Builds nothing.
#   scripts/screenshots.sh [path/to/fluxo] [output folder]
# Runs under a virtual X server when xvfb-run is there (the Main page's live
# preview shows in its picture), else on Qt's offscreen platform.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
fluxo=${1:-$root/build/fluxo}
out=${2:-$root/docs/images}
[ -x "$fluxo" ] || { echo "screenshots.sh: no program at $fluxo; build it first" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)

# Fresh settings, so the pictures show what a new user sees.
export FLUXO_HOME=$(mktemp -d)
export FLUXO_SHM_NAME="/fluxo-screenshots-$$"
trap 'rm -rf "$FLUXO_HOME"; rm -f "/dev/shm${FLUXO_SHM_NAME}"' EXIT
export FLUXO_SCREENSHOTS="$out"

if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$fluxo" /c
else
  QT_QPA_PLATFORM=offscreen "$fluxo" /c
fi
ls "$out"/config-*.png
