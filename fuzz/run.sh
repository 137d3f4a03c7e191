#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into their own build folder and runs each for
# SECONDS (default 60) over a scratch copy of its corpus. Any finding fails the run; its
# input is left in the artifacts folder, to be added to fuzz/corpus/<target>/.
#   fuzz/run.sh [SECONDS]        FUZZ_TARGETS="gpx_roundtrip ini"  limits the targets
#   FUZZ_BUILD_DIR (build-fuzz)  FUZZ_ARTIFACTS (build-fuzz/artifacts)  FUZZ_BUILD_ONLY=1
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD_DIR:-build-fuzz}
artifacts=${FUZZ_ARTIFACTS:-$build/artifacts}

cmake -S . -B "$build" -G Ninja -DCORVANTEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ ${CMAKE_ARGS:-} >/dev/null
targets=${FUZZ_TARGETS:-$(cd fuzz && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')}
cmake --build "$build" --target $(for t in $targets; do echo "fuzz_$t"; done)
[ "${FUZZ_BUILD_ONLY:-0}" = 1 ] && exit 0

mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=()
for t in $targets; do
  dict=()
  case $t in gpx_*|kml|csv) dict=(-dict=fuzz/xml.dict) ;; esac
  mkdir -p "$scratch/$t"
  echo "== fuzz_$t for ${seconds}s"
  # New inputs go to the scratch folder; the kept corpus is only read.
  if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$t-" "${dict[@]}" \
      "$scratch/$t" "fuzz/corpus/$t" >"$scratch/$t.log" 2>&1; then
    tail -40 "$scratch/$t.log"
    failed+=("$t")
  fi
  grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec)|^Done|cov:' "$scratch/$t.log" | tail -3
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz findings in: ${failed[*]} (inputs in $artifacts)" >&2
  exit 1
fi
