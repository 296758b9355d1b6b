#!/usr/bin/env bash
# The program ends tidily: no block, log or noise left behind,
# every hot key in the help, a clear refusal of an empty block name.
set -u
fluxo="$1"
export FLUXO_HOME=$(mktemp -d)
export FLUXO_SHM_NAME="/fluxo-tidy-test-$$"
trap 'rm -rf "$FLUXO_HOME"; rm -f /dev/shm${FLUXO_SHM_NAME}*' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs stopped right after their start end cleanly and leave nothing behind.
for i in $(seq 20); do
  "$fluxo" render --seconds 0.001 --out "$FLUXO_HOME/x.png" >/dev/null || fail "render $i exited $?"
done
ls /dev/shm | grep -q "^${FLUXO_SHM_NAME#/}" && fail "a block or lock file of ${FLUXO_SHM_NAME} is left in /dev/shm"

# The settings database is closed cleanly: no write-ahead log stays behind.
"$fluxo" reg add "HKCU\\Software\\Tidy" /v Value /t REG_DWORD /d 1 /f >/dev/null || fail "reg add failed"
[ -e "$FLUXO_HOME/config/registry.sqlite-wal" ] && fail "reg left registry.sqlite-wal behind"

# No complaint about a missing runtime folder.
noise=$(env -u XDG_RUNTIME_DIR "$fluxo" render --seconds 0.01 --out "$FLUXO_HOME/x.png" 2>&1 >/dev/null)
[ -z "$noise" ] || fail "stderr without XDG_RUNTIME_DIR: $noise"

help=$("$fluxo" --help)
for key in Tab F1 F2 F3 F4 F5 F6 F7 F8 F9 F11 F12 Left Right Up Down 0-9 "keypad +" Delete; do
  grep -q -- "$key" <<<"$help" || fail "--help does not mention $key"
done

err=$(FLUXO_SHM_NAME= "$fluxo" render --seconds 0.01 --out "$FLUXO_HOME/x.png" 2>&1 >/dev/null)
status=$?
[ $status -eq 1 ] || fail "an empty FLUXO_SHM_NAME exited $status"
grep -q "FLUXO_SHM_NAME" <<<"$err" || fail "an empty FLUXO_SHM_NAME gave: $err"

[ $failures -eq 0 ] && echo "tidy exit: all checks passed"
exit $failures
