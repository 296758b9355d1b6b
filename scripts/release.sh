#!/usr/bin/env bash
# Makes the release folder that setup installs from, and a tarball of it:
#   release/Fluxo-3.9.990/   fluxo-setup (the program under its setup name),
#                            fluxo-uninstall, tonewell, help/, the preset
#                            displays, ReadMe.TXT, License.TXT, File_ID.DIZ
#   release/Fluxo-3.9.990.tar.gz
#
#   scripts/release.sh [BUILD_FOLDER]   (default: builds the "default" preset into build/)
set -euo pipefail
cd "$(dirname "$0")/.."
version=3.9.990
if [ $# -gt 0 ]; then
  build="$(realpath "$1")"
else
  cmake --preset default >/dev/null
  cmake --build build -j2 --target fluxo fluxo-uninstall tonewell
  build="$PWD/build"
fi
for program in fluxo fluxo-uninstall tonewell; do
  [ -x "$build/$program" ] || { echo "release.sh: $build/$program is missing" >&2; exit 1; }
done

name="Fluxo-$version"
folder="release/$name"
rm -rf "$folder" "release/$name.tar.gz"
mkdir -p "$folder"

# Programs without their debug information.
copy_program() { install -m 755 "$build/$1" "$folder/$2" && strip --strip-unneeded "$folder/$2"; }
copy_program fluxo fluxo-setup
copy_program fluxo-uninstall fluxo-uninstall
copy_program tonewell tonewell

[ -d docs/help ] && cp -r docs/help "$folder/help"
cp presets/*.FLX "$folder/"
cp README.md "$folder/ReadMe.TXT"
cp LICENSE "$folder/License.TXT"
cp data/File_ID.DIZ "$folder/File_ID.DIZ"
cp data/xscreensaver/fluxo.xml "$folder/fluxo.xml"

tar -C release -czf "release/$name.tar.gz" "$name"
echo "$folder"
echo "release/$name.tar.gz"
