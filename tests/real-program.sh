# Sourced by the scripts that drive the real program (they set $work and
# $exe first).

# Starts an X server (Xvfb) on a free display, its number chosen by the
# server itself, with its log in $work/xvfb.log; sets xvfb (its pid) and
# DISPLAY. Where no X server can start, the calling test is skipped (exit
# status 77) and says why.
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

# Writes TEXT as the string of record NUMBER of a hand-off FILE: its 2-byte
# length, then its bytes.
record() { # record NUMBER TEXT FILE
  printf "\\x$(printf %02x ${#2})\\x00%s" "$2" | dd of="$3" bs=1 seek=$((($1 - 1) * 128)) \
    conv=notrunc status=none
}

# The parent's application folder, $work/app (set as app): the program's
# files, and a TEMPO.SPC of 30 records of the parent's own bytes with its two
# strings, record 18 as a closed viewer left it and record 25 the CHAPTER to
# show.
parent_app() { # parent_app CHAPTER
  app="$work/app"
  mkdir "$app"
  cp "$(dirname "$exe")"/* "$app"/
  rm -f "$app/TEMPO.SPC"
  head -c $((30 * 128)) /dev/urandom >"$app/TEMPO.SPC"
  record 18 "NON" "$app/TEMPO.SPC"
  record 25 "$1" "$app/TEMPO.SPC"
}
