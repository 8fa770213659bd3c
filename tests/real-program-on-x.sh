#!/usr/bin/env bash
# The real program on a real X server, driven as a user drives it. Starts
# Xvfb, writes a parent's TEMPO.SPC (30 records of the parent's own data,
# chapter 2 in record 25) into a copy of the application folder, starts the
# viewer there with no arguments as the parent does, turns pages with the
# arrow keys and with clicks on the arrows (xdotool), checks on screenshots
# that each turn changed the page and which arrows show, closes it with its
# close button and checks TEMPO.SPC byte by byte: record 18 "NON", record 25
# " 0", every other byte as the parent left it.
# Then every other way a viewer ends, each on the parent's file anew and
# checked the same way: SIGTERM, SIGINT and SIGHUP while it starts (the X
# server held still so that no window can exist yet), with its window open,
# and twice with the printer dialog open; chapter 0 at start-up and written
# by the parent while it runs; and last the X server ended under it.
# Then it starts once more at a device pixel ratio of 2 (QT_SCALE_FACTOR=2)
# and checks that the window shows its page at the screen's own resolution,
# not its pixels doubled.
#   usage: tests/real-program-on-x.sh PATH/TO/abrevel
# Exit status 77 (a skip) only where Xvfb cannot start.
set -euo pipefail
exe="$(realpath "$1")"
work="$(mktemp -d "${TMPDIR:-/tmp}/abrevel-x.XXXXXX")"
xvfb=""
viewer=""
cleanup() {
  [ -n "$xvfb" ] && kill -CONT "$xvfb" 2>/dev/null || true
  [ -n "$viewer" ] && kill "$viewer" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/viewer.log" ] && { echo "--- the viewer's output:" >&2; cat "$work/viewer.log" >&2; }
  exit 1
}

# ----- The X server -----------------------------------------------------------
for tool in xdotool import convert; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
done
. "$(dirname "${BASH_SOURCE[0]}")/real-program.sh"
start_xvfb
export QT_QPA_PLATFORM=xcb

# ----- The parent's application folder and TEMPO.SPC ---------------------------
parent_app 2
cp "$app/TEMPO.SPC" "$work/parent.spc"
cp "$app/TEMPO.SPC" "$work/expected.spc"
record 18 "NON" "$work/expected.spc"
record 25 " 0" "$work/expected.spc"
# The printer dialog offers a file in the home folder: nothing may be printed.
mkdir "$work/home"

# ----- The viewer, started as the parent starts it -------------------------------
# Starts it on the parent's file as the parent wrote it.
start() {
  cp "$work/parent.spc" "$app/TEMPO.SPC"
  (cd "$app" && HOME="$work/home" exec ./abrevel) >"$work/viewer.log" 2>&1 &
  viewer=$!
}
# Waits for its window and takes its size.
await_window() {
  window=""
  for _ in $(seq 150); do
    window="$(xdotool search --onlyvisible --name '^Abrevel$' 2>/dev/null | head -n1)" || true
    [ -n "$window" ] && break
    kill -0 "$viewer" 2>/dev/null || fail "$1: the viewer ended before showing its window"
    sleep 0.2
  done
  [ -n "$window" ] || fail "$1: no window named Abrevel after 30 s"
  eval "$(xdotool getwindowgeometry --shell "$window")"
}
# Waits for the viewer's end: its exit status and TEMPO.SPC byte by byte.
ended() { # ended WHAT STATUS EXPECTED-FILE
  for _ in $(seq 100); do
    kill -0 "$viewer" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$viewer" 2>/dev/null && fail "$1: the viewer still runs 10 s later"
  local status=0
  wait "$viewer" || status=$?
  viewer=""
  [ "$status" -eq "$2" ] || fail "$1: the viewer ended with status $status, not $2"
  cmp "$app/TEMPO.SPC" "$3" || fail "$1: TEMPO.SPC is not $(basename "$3")"
  echo "ok: $1: status $status, TEMPO.SPC the parent's file with $4"
}

start
await_window "start"
# The arrow frame at the bottom centre: the previous arrow at its left, the
# next arrow 80 pixels further; the close button on the title band.
frameLeft=$(((WIDTH - 113) / 2))
frameTop=$((HEIGHT - 35))
previousX=$((frameLeft + 16)) nextX=$((frameLeft + 96)) arrowY=$((frameTop + 16))

shot() { import -window "$window" "$work/shot.png" 2>/dev/null; }
# "shown" or "hidden": a hidden arrow leaves its square one plain colour.
arrow() {
  local colours
  colours="$(convert "$work/shot.png" -crop "32x32+$1+$frameTop" +repage -format %k info:)"
  if [ "$colours" -gt 1 ]; then echo shown; else echo hidden; fi
}
# A fingerprint of the page: the window less the band and the arrow frame.
page() {
  convert "$work/shot.png" -crop "${WIDTH}x$((frameTop - 41))+0+41" +repage rgb:- | md5sum |
    cut -d' ' -f1
}
# Waits until the window shows the arrows expected and a page that differs
# from (or equals) a given one.
expect() { # expect WHAT PREVIOUS NEXT (different|same) PAGE
  local seen=""
  for _ in $(seq 75); do
    shot
    local p n pg
    p="$(arrow "$frameLeft")" n="$(arrow $((frameLeft + 80)))" pg="$(page)"
    seen="previous arrow $p, next arrow $n"
    if [ "$p" = "$2" ] && [ "$n" = "$3" ] &&
      { { [ "$4" = different ] && [ "$pg" != "$5" ]; } || { [ "$4" = same ] && [ "$pg" = "$5" ]; }; }; then
      current="$pg"
      echo "ok: $1: previous arrow $p, next arrow $n, page $4"
      return
    fi
    kill -0 "$viewer" 2>/dev/null || fail "$1: the viewer ended"
    sleep 0.2
  done
  fail "$1: expected previous arrow $2, next arrow $3, page $4; saw $seen"
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
key() {
  xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT / 2))
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers "$1"
}

current=""
expect "screen 201 at start" hidden shown different ""
first="$current"
key Right
expect "Right key: screen 202" shown shown different "$first"
second="$current"
click "$nextX" "$arrowY"
expect "next arrow clicked: screen 203" shown hidden different "$second"
key Left
expect "Left key: screen 202 again" shown shown same "$second"
click "$previousX" "$arrowY"
expect "previous arrow clicked: screen 201 again" hidden shown same "$first"

# ----- Closing, and what it leaves in TEMPO.SPC -----------------------------------
flags='record 18 "NON", record 25 " 0"'
click 760 20
ended "close button" 0 "$work/expected.spc" "$flags"

# ----- Termination signals, at start-up, with the window open, in the printer dialog
for signal in TERM INT HUP; do
  number=$(kill -l "$signal")
  status=$((128 + number))

  # While the X server is stopped the viewer cannot get past connecting to
  # it: no window exists. The signal is sent once the viewer catches it.
  kill -STOP "$xvfb"
  start
  for _ in $(seq 200); do
    mask="$(awk '/^SigCgt:/ { print $2 }' "/proc/$viewer/status" 2>/dev/null)" || true
    [ -n "$mask" ] && (((16#$mask >> (number - 1)) & 1)) && break
    sleep 0.05
  done
  cmp -s "$app/TEMPO.SPC" "$work/parent.spc" || fail "SIG$signal at start-up: TEMPO.SPC \
written before the display answered"
  kill "-$signal" "$viewer"
  kill -CONT "$xvfb"
  ended "SIG$signal at start-up" "$status" "$work/expected.spc" "$flags"

  start
  await_window "SIG$signal, window open"
  kill "-$signal" "$viewer"
  ended "SIG$signal, window open" "$status" "$work/expected.spc" "$flags"

  start
  await_window "SIG$signal, printer dialog"
  click 720 16
  dialog=""
  for _ in $(seq 100); do
    dialog="$(xdotool search --onlyvisible --name "^Imprimer l'abrevel\$" 2>/dev/null)" || true
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "SIG$signal: no printer dialog 10 s after the print button"
  kill "-$signal" "$viewer"
  kill "-$signal" "$viewer" 2>/dev/null || true
  ended "SIG$signal twice, printer dialog" "$status" "$work/expected.spc" "$flags"
  printed="$(find "$work/home" -name '*.pdf')"
  [ -z "$printed" ] || fail "SIG$signal, printer dialog: something was printed: $printed"
done

# ----- Chapter 0: at start-up, and written by the parent while the viewer runs ------
cp "$work/parent.spc" "$work/not-running.spc"
record 18 "NON" "$work/not-running.spc"
record 25 " 0" "$work/not-running.spc"
record 25 " 0" "$work/parent.spc"
start
ended "chapter 0 at start-up" 0 "$work/not-running.spc" 'record 18 "NON", its chapter kept'
grep -q '^abrevel : aucun chapitre' "$work/viewer.log" ||
  fail "chapter 0 at start-up: no line on standard error says why the viewer ended"
echo "ok: chapter 0 at start-up: $(grep '^abrevel' "$work/viewer.log")"
record 25 "2" "$work/parent.spc"

record 25 "0" "$work/not-running.spc"
start
await_window "chapter 0 written while open"
record 25 "0" "$app/TEMPO.SPC"
# The viewer reads the chapter again at its next repaint: a page turn.
key Right
ended "chapter 0 written while open" 0 "$work/not-running.spc" 'record 18 "NON", its chapter kept'

# ----- On a screen of twice the density -----------------------------------------
cp "$work/parent.spc" "$app/TEMPO.SPC"
(cd "$app" && HOME="$work/home" QT_SCALE_FACTOR=2 exec ./abrevel) >"$work/viewer.log" 2>&1 &
viewer=$!
await_window "scale 2"
# The band and the screen's heading, 400 × 160 device pixels from the top
# left. A page drawn at the window's own pixels and doubled is made of 2 × 2
# blocks: shrunk to half and doubled again (at the blocks' alignment, one of
# four), it comes back unchanged. Drawn at the screen's resolution, letters
# and edges change.
fine=""
for _ in $(seq 75); do
  shot
  worst=""
  for dx in 0 1; do
    for dy in 0 1; do
      convert "$work/shot.png" -crop "400x160+$dx+$dy" +repage "$work/part.png"
      changed="$(convert "$work/part.png" -scale 50% -scale 200% "$work/part.png" \
        -compose difference -composite -threshold 8% -format '%[fx:mean*100]' info:)"
      if [ -z "$worst" ] || awk "BEGIN { exit !($changed < $worst) }"; then worst="$changed"; fi
    done
  done
  if awk "BEGIN { exit !($worst > 1) }"; then
    fine="$worst"
    break
  fi
  kill -0 "$viewer" 2>/dev/null || fail "the viewer at scale 2 ended"
  sleep 0.2
done
[ -n "$fine" ] || fail "at scale 2 the window shows its page with its pixels doubled ($worst % of the pixels differ from 2 × 2 blocks)"
echo "ok: scale 2: the page is drawn at the screen's resolution ($fine % of the pixels finer than 2 × 2 blocks)"
kill -TERM "$viewer"
ended "scale 2, SIGTERM" 143 "$work/expected.spc" "$flags"

# ----- The X server ended under the running viewer ---------------------------------
start
await_window "X server ended"
kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
xvfb=""
ended "X server ended" 1 "$work/expected.spc" "$flags"
