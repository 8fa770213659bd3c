#!/usr/bin/env bash
# Sets up and builds Abrevel, then starts it on a chapter the way the parent
# application does: the chapter number goes into record 25 of TEMPO.SPC in
# the application folder, and the viewer starts with no arguments.
# Without a display, it renders the chapter's screens to PNG files and
# prints the chapter to a PDF instead, and says where they are.
#   usage: tools/run-viewer.sh [CHAPTER]      (1 to 19, default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
chapter="${1:-1}"
if ! [[ "$chapter" =~ ^[0-9]+$ ]] || ((chapter < 1 || chapter > 19)); then
  echo "run-viewer.sh: the chapter must be a number from 1 to 19, not '$chapter'" >&2
  exit 2
fi
bash tools/setup.sh

app=build/app
# Record 25 (offset 3072 in 128-byte records): 2-byte little-endian length,
# then the text. Nothing else in the file is touched.
text="$chapter"
printf "\\x$(printf %02x ${#text})\\x00%s" "$text" |
  dd of="$app/TEMPO.SPC" bs=1 seek=3072 conv=notrunc status=none

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$app/abrevel"
fi

out="$(mktemp -d "${TMPDIR:-/tmp}/abrevel-chapter$chapter.XXXXXX")"
for n in 1 2 3; do
  code=$((chapter * 100 + n))
  "$app/abrevel" --render-screen "$code" "$out/screen$code.png" 2>/dev/null || break
done
"$app/abrevel" --print-chapter "$chapter" "$out/chapter$chapter.pdf"
echo "No display: chapter $chapter rendered into $out"
ls -1 "$out"
