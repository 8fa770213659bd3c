# Sourced by the scripts that drive the real program: starts an X server
# (Xvfb) on a free display, its number chosen by the server itself, with its
# log in $work/xvfb.log; sets xvfb (its pid) and DISPLAY. Where no X server
# can start, the calling test is skipped (exit status 77) and says why.
start_xvfb() {
  if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed (Debian package xvfb), so no X server can start"
    exit 77
  fi
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/xvfb.log" &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$work/display" ]; then
    echo "SKIP: Xvfb could not start an X server:"
    sed 's/^/  /' "$work/xvfb.log"
    exit 77
  fi
  export DISPLAY=":$(head -n1 "$work/display")"
}
