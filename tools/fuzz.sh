#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (in build-fuzz/) and runs
# them.
#   tools/fuzz.sh TARGET [SECONDS]   fuzzes TARGET (handoff, val or texts) for
#                                    SECONDS (default 60), starting from its
#                                    seed corpus fuzz/corpus/TARGET; what it
#                                    finds goes to build-fuzz/corpus/TARGET,
#                                    a failing input to build-fuzz/crashes/
#   tools/fuzz.sh --check            runs every target over its seed corpus,
#                                    then a fixed number of new inputs
# A failing input becomes a regression case once copied into the seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(handoff val texts)
# The longest input worth trying: the hand-off file up to its 32nd record,
# a number, a content file of a dozen lines.
declare -A maxLength=([handoff]=4096 [val]=128 [texts]=1024)
checkRuns=20000

usage() {
  echo "usage: tools/fuzz.sh TARGET [SECONDS] | --check   (TARGET: ${targets[*]})" >&2
  exit 2
}

build() {
  cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j"$(nproc)" >/dev/null
}

(($# >= 1)) || usage
if [ "$1" = "--check" ]; then
  (($# == 1)) || usage
  build
  for target in "${targets[@]}"; do
    # New inputs go to a scratch folder: the seed corpus stays as committed.
    scratch=build-fuzz/check/"$target"
    rm -rf "$scratch"
    mkdir -p "$scratch" build-fuzz/crashes
    if ! build-fuzz/"${target}_fuzzer" -seed=1 -runs="$checkRuns" \
      -max_len="${maxLength[$target]}" -artifact_prefix=build-fuzz/crashes/ \
      "$scratch" fuzz/corpus/"$target" >build-fuzz/"$target".log 2>&1; then
      tail -n 40 build-fuzz/"$target".log >&2
      echo "fuzz: $target failed (input in build-fuzz/crashes/)" >&2
      exit 1
    fi
    echo "fuzz: $target: $(find fuzz/corpus/"$target" -type f | wc -l) seeds and $checkRuns runs, no fault"
  done
  exit 0
fi

target="$1"
seconds="${2:-60}"
[[ " ${targets[*]} " == *" $target "* ]] || usage
[[ "$seconds" =~ ^[0-9]+$ ]] || usage
build
mkdir -p build-fuzz/corpus/"$target" build-fuzz/crashes
exec build-fuzz/"${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
  -max_len="${maxLength[$target]}" -artifact_prefix=build-fuzz/crashes/ \
  build-fuzz/corpus/"$target" fuzz/corpus/"$target"
