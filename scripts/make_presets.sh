#!/usr/bin/env bash
# Builds the preset displays with the program itself, in a scratch settings
# store, and exports each into presets/<name>.FLX. Re-runnable: every run
# starts from an empty store and rewrites the files.
#
#   scripts/make_presets.sh [path/to/fluxo]     (default: build/fluxo)
#
# Sound sources: 3 volume, 4 left, 5 right, 6 150Hz, 7 400Hz, 8 600Hz, 9 800Hz,
# 10 1KHz, 11 1.5KHz, 12 2KHz, 13 2.5KHz, 14 3.25KHz, 15 4KHz, 16 5KHz,
# 17 6.25KHz, 18 8KHz, 19 10KHz, 20 12.5KHz, 21 18KHz; 1 random, 2 oscillate.
# Without the sound companion every sound source oscillates instead.
set -euo pipefail
cd "$(dirname "$0")/.."
fluxo="$(realpath "${1:-build/fluxo}")"
out="$PWD/presets"
FLUXO_HOME="$(mktemp -d)"
export FLUXO_HOME
trap 'rm -rf "$FLUXO_HOME"' EXIT

saved='HKCU\Control Panel\Screen Saver.Fluxo\Saved'
display=""

# A number as the 4 little-endian bytes the settings store keeps.
le32() { printf '%08x' $(( $1 & 0xffffffff )) | sed -E 's/(..)(..)(..)(..)/\4\3\2\1/'; }
number() { "$fluxo" reg add "$1" /v "$2" /t REG_BINARY /d "$(le32 "$3")" /f >/dev/null; }

# begin NAME: a new, empty display that clears the screen first.
begin() {
  display="$1"
  "$fluxo" reg delete "$saved\\$display" /f >/dev/null 2>&1 || true
  number "$saved\\$display" ClearFirst 1
}
# module MODULE: the module takes part (with its default controls).
module() { number "$saved\\$display\\Modules\\$1" Check9 0; }
# set MODULE CONTROL VALUE: a fixed value.
set_control() {
  number "$saved\\$display\\Modules\\$1" "Check$2" 0
  number "$saved\\$display\\Modules\\$1" "Control$2" "$3"
}
# drive MODULE CONTROL SOURCE LOW HIGH [SENSE]: follows a source between limits.
drive() {
  local key="$saved\\$display\\Modules\\$1"
  number "$key" "Check$2" "$3"
  number "$key" "RangeLo$2" "$4"
  number "$key" "RangeHi$2" "$5"
  number "$key" "Sense$2" "${6:-10}"
}
# effects RED GREEN BLUE: 0 ramp, 1 fade, 2 smooth, 3 coarse, 4 blackout, 5 random.
effects() {
  local key="$saved\\$display\\Palette"
  number "$key" RedEffect "$1"
  number "$key" GreenEffect "$2"
  number "$key" BlueEffect "$3"
}
# palette NAME VALUE: one palette value ("RedDensity", "CycleRate", ...).
palette() { number "$saved\\$display\\Palette" "$1" "$2"; }
# palette_drive PARAM SOURCE LOW HIGH [SENSE] for all three channels ("Density").
palette_drive() {
  local key="$saved\\$display\\Palette" channel
  for channel in Red Green Blue; do
    number "$key" "$channel$1Source" "$2"
    number "$key" "$channel$1RangeLo" "$3"
    number "$key" "$channel$1RangeHi" "$4"
    number "$key" "$channel$1Sense" "${5:-10}"
  done
}
finish() {
  "$fluxo" display export "$display" "$out/$display.FLX" >/dev/null
  echo "presets/$display.FLX"
}

mkdir -p "$out"
rm -f "$out"/*.FLX

# Mirrored clouds in bands that multiply with the bass; the colours glide.
begin "Aurora"
module Plasma
set_control Plasma 0 6
set_control Plasma 3 12
set_control Plasma 10 2
set_control Plasma 11 2
set_control Plasma 12 3
effects 2 2 2
palette_drive Density 6 4 12
palette_drive Intensity 3 60 140
finish

# A many-fold flower of curves, wider with the volume.
begin "Kaleidoscope"
module Bezier
set_control Bezier 0 3
set_control Bezier 1 12
set_control Bezier 2 60
drive Bezier 3 3 2 12
drive Bezier 4 7 2 16
effects 2 2 2
palette_drive Density 3 2 10
finish

# Stars rushing out of the centre, faster with the beat.
begin "Star Tunnel"
module Star
set_control Star 0 60
drive Star 1 3 2 30
drive Star 2 6 2 24
set_control Star 5 6
set_control Star 8 2
set_control Star 13 6
effects 0 0 1
palette CycleRate 20
finish

# A zigzag whirlpool: the bass swings its arms, the volume pulls it in.
begin "Maelstrom"
module Vortex
drive Vortex 2 6 10 40
drive Vortex 5 3 2 12
effects 0 1 0
palette_drive Direction 8 -3 3
finish

# Spheres that swell with the low notes over a slow plasma.
begin "Bass Bloom"
module Plasma
set_control Plasma 0 60
set_control Plasma 9 -3
module Sphere
drive Sphere 0 6 40 220
drive Sphere 1 7 4 16
set_control Sphere 3 12
effects 2 0 2
palette_drive Scale 3 50 100
finish

# Ribbons twisting in six-fold symmetry, thicker when it gets loud.
begin "Ribbon Dance"
module Whip
set_control Whip 0 3
set_control Whip 1 6
set_control Whip 2 12
drive Whip 3 3 10 120
drive Whip 4 9 2 20
effects 1 0 1
palette_drive Density 10 2 12
finish

# Shapes flowing through space, turning with the mid tones.
begin "Drift"
module Flow
drive Flow 0 3 3 8
set_control Flow 1 3
drive Flow 4 10 -30 30
drive Flow 16 8 -40 40
drive Flow 18 12 -40 40
set_control Flow 15 12
effects 0 2 0
palette CycleRate 40
finish

# A lathe-turned wire that spins with the treble.
begin "Spindle"
module Squiggle
set_control Squiggle 0 60
set_control Squiggle 8 6
drive Squiggle 5 16 10 120
drive Squiggle 6 14 10 120
drive Squiggle 7 3 5 80
set_control Squiggle 15 2
effects 0 0 0
palette_drive Density 3 2 8
finish

# Rays fanning out from the centre with the pulse of the music.
begin "Sunburst"
module Ray
drive Ray 1 3 4 80
drive Ray 0 6 20 120
set_control Ray 3 6
drive Ray 4 9 -40 40
effects 2 1 2
finish

# Orbiting polygons leaving trails, their size following the bass.
begin "Orbits"
module Cyclic
set_control Cyclic 0 8
set_control Cyclic 4 5
drive Cyclic 3 6 10 90
drive Cyclic 5 11 -40 40
set_control Cyclic 7 3
effects 0 2 0
palette_drive Density 3 3 12
finish

# Stained glass folding over itself with the bass.
begin "Cathedral"
module Stain
set_control Stain 0 3
set_control Stain 2 6
drive Stain 1 6 0 6
effects 3 2 3
finish

# Interference waves, rougher when the cymbals hit.
begin "Moire Sea"
module Pattern
set_control Pattern 0 8
set_control Pattern 2 6
drive Pattern 1 19 0 60
drive Pattern 7 6 0 8
effects 2 2 2
palette_drive Density 7 2 10
finish

# Beams weaving a five-fold web, swung by the left and right channels.
begin "Web of Light"
module Line
set_control Line 14 5
drive Line 5 4 10 90
drive Line 7 5 10 90
effects 0 1 2
finish
