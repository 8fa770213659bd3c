#!/usr/bin/env bash
# Measures the viewer's speed beside its floors and prints one table.
#
#   1. builds the viewer, the benchmark program and the floor program in
#      Release (build-release/);
#   2. runs the benchmark program (bench/bench.cpp): warm repaint of every
#      screen against the decode of the same screen saved as PNG, page turns,
#      the screen drawn as --render-screen draws it at scale 1 and 2,
#      chapters and the course printed to PDF, the recording pass; and the cold first
#      repaint of a process for every screen (median of $COLD runs);
#   3. times whole processes with hyperfine: `abrevel --render-screen CODE`
#      against the floor program (Qt started, the screen's PNG decoded and
#      written back as PNG), in alternated rounds, and the peak resident
#      memory of both with /usr/bin/time (median of $MEMORY runs), with
#      `abrevel --render-screen CODE --scale 2` in the same rounds; and
#      `abrevel --print-chapter N` for every chapter and `abrevel
#      --print-course`, with the size of each PDF file and the largest image
#      in it (pdfimages), as a share of the page's area.
#
# Usage: tools/bench.sh [RUNS]     (RUNS whole-process runs each, default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
COLD=${COLD:-5}
MEMORY=${MEMORY:-5}

need=()
for p in libbenchmark-dev hyperfine time python3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if ((${#need[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
bash tools/setup.sh >/dev/null # the viewer's own packages
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(nproc)" --target abrevel abrevel_bench abrevel_floor >/dev/null

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
app=build-release/app
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "In process (Google Benchmark)..." >&2
build-release/abrevel_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.1 --benchmark_format=json >"$work/bench.json"

codes=$(grep -o '"Repaint/[0-9]*_median"' "$work/bench.json" | grep -o '[0-9]\+' | sort -n | uniq)
echo "Cold first repaints..." >&2
for code in $codes; do
  for _ in $(seq "$COLD"); do
    echo "$code $(build-release/abrevel_bench --cold "$code")"
  done
done >"$work/cold.txt"

echo "Whole processes (hyperfine, $runs runs each, alternated with the floor)..." >&2
for code in $codes; do
  "$app/abrevel" --app-folder "$app" --render-screen "$code" "$work/$code.png"
  # Short rounds of both commands, one after the other, so that the
  # machine's drift during the run falls on the viewer and the floor alike.
  for round in $(seq $(((runs + 1) / 2))); do
    hyperfine -N -w 1 -r 2 --export-json "$work/render-$code-$round.json" \
      "$app/abrevel --app-folder $app --render-screen $code $work/out-a.png" \
      "build-release/abrevel_floor $work/$code.png $work/out-b.png" \
      "$app/abrevel --app-folder $app --render-screen $code $work/out-c.png --scale 2" \
      >/dev/null 2>&1
  done
  for run in $(seq "$MEMORY"); do
    /usr/bin/time -f '%M' -o "$work/mem-$code-a-$run" \
      "$app/abrevel" --app-folder "$app" --render-screen "$code" "$work/out-a.png"
    /usr/bin/time -f '%M' -o "$work/mem-$code-b-$run" \
      build-release/abrevel_floor "$work/$code.png" "$work/out-b.png"
  done
done
# The largest image of a PDF file, as a share of an A4 page (8.27 × 11.69 in).
largest_image() {
  pdfimages -list "$1" | awk 'NR > 2 { a = ($4 / $13) * ($5 / $14) / (8.27 * 11.69); if (a > m) m = a }
                              END { printf "%.3f\n", m }'
}
for chapter in $(seq 1 19); do
  hyperfine -N -w 1 -r "$runs" --export-json "$work/print-$chapter.json" \
    "$app/abrevel --app-folder $app --print-chapter $chapter $work/ch$chapter.pdf" >/dev/null 2>&1
  echo "$(stat -c %s "$work/ch$chapter.pdf") $(largest_image "$work/ch$chapter.pdf")" >"$work/pdf-$chapter.txt"
done
hyperfine -N -w 1 -r "$runs" --export-json "$work/print-course.json" \
  "$app/abrevel --app-folder $app --print-course $work/course.pdf" >/dev/null 2>&1
echo "$(stat -c %s "$work/course.pdf") $(largest_image "$work/course.pdf")" >"$work/pdf-course.txt"

python3 - "$work" <<'PY'
import json, statistics, sys, glob, os
work = sys.argv[1]
bench = json.load(open(f"{work}/bench.json"))["benchmarks"]
def med(name):
    for b in bench:
        if b["name"] == name + "_median":
            scale = {"ns": 1e-3, "us": 1, "ms": 1e3}[b["time_unit"]]
            return b["real_time"] * scale
    return None
cold = {}
for line in open(f"{work}/cold.txt"):
    code, ms = line.split()
    cold.setdefault(int(code), []).append(float(ms) * 1000)
print("| screen | warm repaint µs | PNG decode µs | ratio (≤ 0.5) | cold repaint µs | page turn µs (< 16 700) | --render-screen ms | floor ms | ratio (≤ 1.1) | peak KiB | floor KiB | ratio (≤ 1.3) | --scale 2 ms | ratio to scale 1 (≤ 4) | drawn at scale 1 µs | at scale 2 µs | ratio |")
print("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|")
for code in sorted(cold):
    rep, dec = med(f"Repaint/{code}"), med(f"DecodePng/{code}")
    turn = med(f"PageTurn/{code}")
    r1, r2 = med(f"Render/{code}/1"), med(f"Render/{code}/2")
    times = ([], [], [])
    for round in glob.glob(f"{work}/render-{code}-*.json"):
        for mine, result in zip(times, json.load(open(round))["results"]):
            mine.extend(result["times"])
    a, b = statistics.median(times[0]) * 1000, statistics.median(times[1]) * 1000
    c = statistics.median(times[2]) * 1000
    def peak(which):
        return int(statistics.median(
            int(open(f).read().split()[-1]) for f in glob.glob(f"{work}/mem-{code}-{which}-*")))
    ma, mb = peak("a"), peak("b")
    print(f"| {code} | {rep:.0f} | {dec:.0f} | {rep/dec:.2f} | {statistics.median(cold[code]):.0f} | "
          f"{'—' if turn is None else f'{turn:.0f}'} | {a:.1f} | {b:.1f} | {a/b:.2f} | {ma} | {mb} | {ma/mb:.2f} | {c:.1f} | {c/a:.2f} | {r1:.0f} | {r2:.0f} | {r2/r1:.2f} |")
print()
print("| chapter | printed, in process ms | whole process ms (< 300) | PDF KiB | largest image / page | recording pass µs |")
print("|---|---|---|---|---|---|")
for chapter in range(1, 20):
    p = med(f"PrintChapter/{chapter}")
    if p is None:
        continue
    whole = json.load(open(f"{work}/print-{chapter}.json"))["results"][0]["median"] * 1000
    size, image = open(f"{work}/pdf-{chapter}.txt").read().split()
    print(f"| {chapter} | {p / 1000:.0f} | {whole:.0f} | {int(size) / 1024:.0f} | {float(image):.3f} | "
          f"{med(f'RecordChapter/{chapter}'):.0f} |")
whole = json.load(open(f"{work}/print-course.json"))["results"][0]["median"] * 1000
size, image = open(f"{work}/pdf-course.txt").read().split()
print()
print("| course | printed, in process ms | whole process ms (< 1500) | PDF KiB (≤ 1536) | largest image / page |")
print("|---|---|---|---|---|")
print(f"| 19 chapters | {med('PrintCourse') / 1000:.0f} | {whole:.0f} | {int(size) / 1024:.0f} | {float(image):.3f} |")
PY
