#!/usr/bin/env bash
# fluxo display and fluxo render --display/--file: the saved displays from the
# command line, files that travel, and runs that leave the settings as they were.
set -u
fluxo="$1"
export FLUXO_HOME=$(mktemp -d)
export FLUXO_SHM_NAME="/fluxo-display-test-$$"
export QT_QPA_PLATFORM=offscreen
trap 'rm -rf "$FLUXO_HOME"; rm -f "/dev/shm${FLUXO_SHM_NAME}"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
root='HKCU\Control Panel\Screen Saver.Fluxo'
snapshots=0
# The whole settings tree as text, to show that a command changed nothing.
snapshot() {
  snapshots=$((snapshots + 1))
  "$fluxo" reg export "$root" "$FLUXO_HOME/snap$snapshots.reg" >/dev/null 2>&1
  md5sum < "$FLUXO_HOME/snap$snapshots.reg"
}
# A failing command: status 1, one line on stderr, nothing on stdout, no change.
refused() {
  local before after err out status
  before=$(snapshot)
  out=$("$fluxo" display "$@" 2>"$FLUXO_HOME/err")
  status=$?
  err=$(cat "$FLUXO_HOME/err")
  after=$(snapshot)
  [ $status -eq 1 ] || fail "display $* exited $status"
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] && [ -n "$err" ] || fail "display $*: not one error line: $err"
  [ -z "$out" ] || fail "display $* printed: $out"
  [ "$before" = "$after" ] || fail "display $* changed the settings"
}

# A first run on an empty store makes the presets; a plain render plays "Active".
"$fluxo" render --seconds 0.3 --size 64x48 --out "$FLUXO_HOME/first.png" >/dev/null || fail "first render"
list=$("$fluxo" display list) || fail "list exited $?"
for name in Bezier Cyclic Pattern Plasma Polygon Sphere Stain Star Vortex; do
  printf '%s\n' "$list" | grep -qx "  \[D\] $name" || fail "preset [D] $name missing: $list"
done
printf '%s\n' "$list" | grep -qx "  \[R\] Saved Sound Settings" || fail "[R] Saved Sound Settings missing"
[ "$(printf '%s\n' "$list" | wc -l)" -eq 10 ] || fail "list: $list"

# Export, import under another name, export again: the same bytes.
a="$FLUXO_HOME/a.FLX"; b="$FLUXO_HOME/b.FLX"
"$fluxo" display export "[D] Bezier" "$a" || fail "export"
[ "$("$fluxo" display import "$a" --name Copy)" = "Copy" ] || fail "import --name"
"$fluxo" display export Copy "$b" || fail "export Copy"
cmp -s "$a" "$b" || fail "the two exports differ"
[ "$(head -c 4 "$a" | od -An -tx1 | tr -d ' ')" = "00420042" ] || fail "the file does not start with 00 42 00 42"
"$fluxo" display show Copy | grep -q "^Bezier$" || fail "show lists no Bezier module"
"$fluxo" display show Copy | grep -q "Palette effects: red Random" || fail "show lists no palette effects"

# The default name is the file's base name; an existing display needs --force.
cp "$a" "$FLUXO_HOME/Night Sky.FLX"
[ "$("$fluxo" display import "$FLUXO_HOME/Night Sky.FLX")" = "Night Sky" ] || fail "default name"
refused import "$FLUXO_HOME/Night Sky.FLX"
"$fluxo" display import "$FLUXO_HOME/Night Sky.FLX" --force >/dev/null || fail "import --force"

# Broken files are refused and change nothing.
printf 'nope' > "$FLUXO_HOME/bad.FLX"
refused import "$FLUXO_HOME/bad.FLX" --name Copy --force
{ printf '\x00\x42\x00\x42\xff\xff\xff\xff'; head -c 64 /dev/zero; } > "$FLUXO_HOME/huge.FLX"
refused import "$FLUXO_HOME/huge.FLX" --name Copy --force
refused import "$FLUXO_HOME/missing.FLX"
refused import "$a" --name 'a\b'
refused import "$a" --name "$(head -c 128 /dev/zero | tr '\0' n)"
refused show Nonesuch
refused export Nonesuch "$FLUXO_HOME/x.FLX"
[ -e "$FLUXO_HOME/x.FLX" ] && fail "a failed export left a file"
refused export Copy "$FLUXO_HOME/no/such/dir/x.FLX"
refused delete Nonesuch
refused activate Nonesuch
refused frobnicate
refused show
refused import

# activate, delete.
"$fluxo" display activate copy || fail "activate"
"$fluxo" display list | grep -qx '\* Copy' || fail "Copy not marked active"
"$fluxo" display delete Copy || fail "delete"
"$fluxo" display list | grep -q Copy && fail "Copy still listed"

# Runs of a display and of a file put "Active" and the test display back,
# whatever their size: a value of 400 bytes, and a test display already there.
long=$(head -c 400 /dev/zero | tr '\0' x)
"$fluxo" reg add "$root" /v Active /t REG_SZ /d "$long" /f >/dev/null
"$fluxo" display import "$a" --name "Testing Current Settings" >/dev/null
before=$(snapshot)
"$fluxo" render --file "$b" --seconds 0.3 --size 64x48 --out "$FLUXO_HOME/f.png" >/dev/null || fail "render --file"
[ "$(snapshot)" = "$before" ] || fail "render --file changed the settings"
"$fluxo" render --display "[D] Star" --seconds 0.3 --size 64x48 --out "$FLUXO_HOME/d.png" >/dev/null || fail "render --display"
[ "$(snapshot)" = "$before" ] || fail "render --display changed the settings"
"$fluxo" display delete "Testing Current Settings"
"$fluxo" render --file "$b" --seconds 0.3 --size 64x48 --out "$FLUXO_HOME/f.png" >/dev/null || fail "render --file"
"$fluxo" display list | grep -q "Testing Current Settings" && fail "render --file left the test display behind"
"$fluxo" reg query "$root" /v Active | grep -q "$long" || fail "Active not restored"
for bad in "--display Nonesuch" "--file $FLUXO_HOME/bad.FLX" "--file $FLUXO_HOME/missing.FLX" "--display x --file $a"; do
  "$fluxo" render $bad --seconds 0.2 --out "$FLUXO_HOME/x.png" >/dev/null 2>&1 && fail "render $bad succeeded"
done

[ $failures -eq 0 ] && echo "display command: all checks passed"
exit $failures
