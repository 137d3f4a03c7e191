#!/usr/bin/env bash
# Times our GPX read against gpsbabel's read-and-write round trip of the same file, and
# compares peak memory. Usage: bench/compare_read.sh [FILE.gpx] [BUILD_DIR]
# Without a file, a 1,000,000-point track is generated first.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh "$@"

read -r ours_s ours_kib < <(measure "$BUILD/bench/bench_read" "$IN")
read -r babel_s babel_kib < <(measure gpsbabel -i gpx -f "$IN" -o gpx -F "$TMP/out.gpx")
awk -v os="$ours_s" -v ok="$ours_kib" -v bs="$babel_s" -v bk="$babel_kib" 'BEGIN {
  printf "corvantel read:     %6.2f s  %7.1f MiB\n", os, ok / 1024
  printf "gpsbabel gpx->gpx:  %6.2f s  %7.1f MiB\n", bs, bk / 1024
  printf "time ratio:   %.3f (target <= 0.2)\n", os / bs
  printf "memory ratio: %.3f (target <= 0.6)\n", ok / bk
}'
