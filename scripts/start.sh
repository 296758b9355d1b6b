#!/usr/bin/env bash
# Installs what is missing, builds, and starts the saver: in a window when a
# display is available, otherwise renders a frame headless and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/fluxo "$@"
fi
echo "No display: rendering a frame headless instead."
exec build/fluxo render --out "${FLUXO_FRAME:-$PWD/fluxo-frame.png}" "$@"
