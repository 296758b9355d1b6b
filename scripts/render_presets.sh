#!/usr/bin/env bash
# Renders every preset display into docs/images/presets/<name>.png
# (320x240, after four seconds, with a fixed seed so the pictures repeat).
#
#   scripts/render_presets.sh [path/to/fluxo [NAME...]]   (default: build/fluxo, every preset)
set -euo pipefail
cd "$(dirname "$0")/.."
fluxo="$(realpath "${1:-build/fluxo}")"
shift $(( $# > 0 ? 1 : 0 ))
images="$PWD/docs/images/presets"
FLUXO_HOME="$(mktemp -d)"
export FLUXO_HOME
trap 'rm -rf "$FLUXO_HOME"' EXIT
mkdir -p "$images"
files=(presets/*.FLX)
if [ $# -gt 0 ]; then
  files=()
  for name in "$@"; do files+=("presets/$name.FLX"); done
fi
for file in "${files[@]}"; do
  name="$(basename "$file" .FLX)"
  image="$images/$(echo "$name" | tr 'A-Z ' 'a-z-').png"
  "$fluxo" render --file "$file" --size 320x240 --seconds "${SECONDS_PER_PRESET:-4}" --seed 7 --out "$image" >/dev/null
  echo "$image"
done
