#!/usr/bin/env bash
# The real program as a screen reader sees it: Xvfb, a D-Bus session with
# the accessibility bus (AT-SPI), the viewer started as the parent starts it
# on chapter 14, and tests/accessible_viewer.py reading and driving it
# through AT-SPI alone (pyatspi): the buttons' names, roles and actions, the
# text and picture descriptions of its screens, what a page turn changes,
# and the keyboard alone from the first screen to the print dialog and back
# to the close button. TEMPO.SPC must then read "NON" and " 0".
#   usage: tests/accessible-program-on-x.sh PATH/TO/abrevel
# Exit status 77 (a skip) only where Xvfb or the accessibility bus cannot
# start.
set -euo pipefail
exe="$(realpath "$1")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/abrevel-atspi.XXXXXX")"
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# ----- What the test needs --------------------------------------------------------
if ! command -v dbus-run-session >/dev/null; then
  echo "SKIP: dbus-run-session is missing (Debian package dbus-bin), so no session bus can start"
  exit 77
fi
if ! dbus-run-session -- true 2>"$work/dbus.log"; then
  echo "SKIP: no D-Bus session bus can start:"
  sed 's/^/  /' "$work/dbus.log"
  exit 77
fi
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && launcher="$candidate" && break
done
if [ -z "$launcher" ]; then
  echo "SKIP: at-spi-bus-launcher is missing (Debian package at-spi2-core), so no accessibility bus can start"
  exit 77
fi
# The system's Python, which has the Debian package python3-pyatspi.
python=""
for candidate in /usr/bin/python3 python3; do
  if command -v "$candidate" >/dev/null && "$candidate" -c 'import pyatspi' 2>/dev/null; then
    python="$candidate"
    break
  fi
done
[ -n "$python" ] || fail "no Python with pyatspi (Debian package python3-pyatspi; tools/setup.sh installs it)"
command -v xdotool >/dev/null || fail "xdotool is missing (tools/setup.sh installs it)"

# ----- The X server -----------------------------------------------------------------
. "$(dirname "${BASH_SOURCE[0]}")/real-program.sh"
start_xvfb
export QT_QPA_PLATFORM=xcb
# Qt speaks to the accessibility bus even without a screen reader running.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0

# ----- The parent's application folder and TEMPO.SPC --------------------------------
parent_app 14
cp "$app/TEMPO.SPC" "$work/expected.spc"
record 25 " 0" "$work/expected.spc"

# ----- A session bus, the accessibility bus, the viewer and its reader ---------------
status=0
dbus-run-session -- bash -c '
  set -u
  "$1" --launch-immediately >"$2/bus.log" 2>&1 &
  launcher=$!
  # The accessibility bus answers once the launcher has it running.
  for _ in $(seq 100); do
    address="$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
      org.a11y.Bus.GetAddress 2>/dev/null | sed -n "s/^ *string \"\(.*\)\"$/\1/p")"
    [ -n "$address" ] && break
    sleep 0.1
  done
  if [ -z "$address" ]; then
    echo "SKIP: the accessibility bus did not start:"
    sed "s/^/  /" "$2/bus.log"
    kill "$launcher" 2>/dev/null
    exit 77
  fi
  "$3" "$4" "$5" "$6"
  result=$?
  kill "$launcher" 2>/dev/null
  exit $result
' bash "$launcher" "$work" "$python" "$here/accessible_viewer.py" "$app" "$work" || status=$?
[ "$status" -eq 0 ] || exit "$status"

if ! cmp "$app/TEMPO.SPC" "$work/expected.spc"; then
  fail "TEMPO.SPC is not the parent's file with record 18 \"NON\" and record 25 \" 0\""
fi
echo "ok: TEMPO.SPC: record 18 \"NON\", record 25 \" 0\" after the close button pressed from the keyboard"
