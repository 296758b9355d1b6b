#!/bin/bash
# Manual check (not part of the test suite): installs Fluxo for an unprivileged
# user with setup's unattended mode, starts XScreenSaver on a virtual X server,
# activates it and takes a screenshot. XScreenSaver refuses to run hacks as
# root, so when started as root the script creates the user "fluxocheck"
# (when missing) and runs itself again as that user.
#
#   scripts/xscreensaver_check.sh BUILD/fluxo [OUT.png] [--with-description]
#
# The release folder setup installs from is made in a temporary folder: the
# program as fluxo-setup, the hack description and the presets when present.
set -euo pipefail

if [ "${1:-}" = "--as-user" ]; then
  release=$2
  out=$3
else
  program=$(readlink -f "${1:?usage: $0 path/to/fluxo [out.png]}")
  out=$(readlink -f "${2:-/tmp/fluxo-xscreensaver.png}")
  release=$(mktemp -d /tmp/fluxo-release-XXXXXX)
  cp "$program" "$release/fluxo-setup"
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
check_user=fluxocheck

if [ "$(id -u)" = 0 ]; then
  id "$check_user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$check_user"
  [ -f "$here/data/xscreensaver/fluxo.xml" ] && cp "$here/data/xscreensaver/fluxo.xml" "$release/"
  if [ -d "$here/presets" ]; then cp "$here"/presets/*.FLX "$release/" 2>/dev/null || true; fi
  cp "$0" "$release/check.sh"
  chmod -R a+rX "$release"
  touch "$out" "${out%.png}-settings.png" && chown "$check_user" "$out" "${out%.png}-settings.png"
  # The settings program reads hack descriptions only from the system's
  # folder, where the package puts it; with --with-description it is put
  # there for the run and taken away afterwards.
  config=/usr/share/xscreensaver/config
  placed=
  if [ "${3:-}" = "--with-description" ] && [ -d "$config" ] && [ ! -e "$config/fluxo.xml" ]; then
    cp "$here/data/xscreensaver/fluxo.xml" "$config/fluxo.xml" && placed=$config/fluxo.xml
  fi
  status=0
  runuser -u "$check_user" -- env -u FLUXO_HOME -u FLUXO_SHM_NAME -u XDG_CONFIG_HOME -u XDG_DATA_HOME \
    HOME="$(getent passwd "$check_user" | cut -d: -f6)" \
    bash "$release/check.sh" --as-user "$release" "$out" || status=$?
  rm -rf "$release"
  [ -n "$placed" ] && rm -f "$placed"
  exit $status
fi

display=:57
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

echo "== installing for $(id -un) (HOME=$HOME)"
"$release/fluxo-setup" --unattended "$HOME/.local/opt/Fluxo"
echo "== programs entry in ~/.xscreensaver:"
grep -n -- "fluxo -root" "$HOME/.xscreensaver"
grep -n -E "^(mode|selected):" "$HOME/.xscreensaver"

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/tmp/fluxo-check-xvfb.log 2>&1 &
pids+=($!)
sleep 2
export DISPLAY=$display
unset QT_QPA_PLATFORM
xscreensaver --no-splash --verbose >/tmp/fluxo-check-xscreensaver.log 2>&1 &
pids+=($!)
sleep 3
xscreensaver-command -activate
sleep 8
echo "== processes:"
pgrep -a -u "$(id -u)" -f "fluxo --?root" || echo "no fluxo -root process"
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$out"
echo "== screenshot: $out"
xscreensaver-command -deactivate >/dev/null 2>&1 || true

# The settings program with the saver selected: its description pane.
xscreensaver-settings >/tmp/fluxo-check-settings.log 2>&1 &
pids+=($!)
sleep 6
xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"${out%.png}-settings.png"
echo "== settings screenshot: ${out%.png}-settings.png"
xscreensaver-command -exit >/dev/null 2>&1 || true
