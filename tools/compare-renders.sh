#!/usr/bin/env bash
# Renders every screen and prints every chapter with two builds of the
# viewer and compares them pixel for pixel: a change meant to make drawing
# faster must not change a single pixel.
#
# Usage: tools/compare-renders.sh OLD_ABREVEL NEW_ABREVEL [APP_FOLDER]
# Exits 1 and names the screens or chapters that differ.
set -euo pipefail
old=$1 new=$2
folder=${3:-$(dirname "$new")}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
differ=0
codes="101 102 201 202 203 301 302 303 401 402 501 502 503 601 602 701 702 801 802 803
901 902 1001 1002 1101 1102 1201 1202 1301 1302 1303 1401 1402 1501 1502 1503 1601 1602
1603 1701 1702 1801 1802 1803 1901 1902 1903"
for code in $codes; do
  "$old" --app-folder "$folder" --render-screen "$code" "$work/old.png"
  "$new" --app-folder "$folder" --render-screen "$code" "$work/new.png"
  if ! compare -metric AE "$work/old.png" "$work/new.png" null: 2>"$work/ae" ||
     [ "$(cut -d' ' -f1 <"$work/ae")" != 0 ]; then
    echo "screen $code differs ($(cat "$work/ae") pixels)"
    differ=1
  fi
done
for chapter in $(seq 1 19); do
  "$old" --app-folder "$folder" --print-chapter "$chapter" "$work/old.pdf"
  "$new" --app-folder "$folder" --print-chapter "$chapter" "$work/new.pdf"
  pdftoppm -r 150 -png "$work/old.pdf" "$work/old"
  pdftoppm -r 150 -png "$work/new.pdf" "$work/new"
  if ! cmp -s "$work/old-1.png" "$work/new-1.png"; then
    echo "chapter $chapter differs on paper"
    differ=1
  fi
done
[ "$differ" = 0 ] && echo "every screen and every chapter identical"
exit "$differ"
