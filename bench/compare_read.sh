#!/usr/bin/env bash
# Times our GPX read against gpsbabel's read-and-write round trip of the same file, and
# compares peak memory. Usage: bench/compare_read.sh [FILE.gpx] [BUILD_DIR]
# Without a file, a 1,000,000-point track is generated first.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${2:-build}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
IN=${1:-}
if [ -z "$IN" ]; then
  IN="$TMP/big.gpx"
  "$BUILD/bench/bench_gen_gpx" "$IN" 1000000
fi
command -v gpsbabel >/dev/null || { echo "gpsbabel is not installed" >&2; exit 1; }

# Prints "seconds peak_kib" of one command, from /usr/bin/time -v.
measure() {
  /usr/bin/time -v "$@" 2>"$TMP/time.txt" >/dev/null
  awk -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
    /Maximum resident set size/ { m = $2 }
    END { printf "%.2f %d\n", s, m }' "$TMP/time.txt"
}

echo "file: $IN ($(du -m "$IN" | cut -f1) MB)"
read -r ours_s ours_kib < <(measure "$BUILD/bench/bench_read" "$IN")
read -r babel_s babel_kib < <(measure gpsbabel -i gpx -f "$IN" -o gpx -F "$TMP/out.gpx")
awk -v os="$ours_s" -v ok="$ours_kib" -v bs="$babel_s" -v bk="$babel_kib" 'BEGIN {
  printf "corvantel read:     %6.2f s  %7.1f MiB\n", os, ok / 1024
  printf "gpsbabel gpx->gpx:  %6.2f s  %7.1f MiB\n", bs, bk / 1024
  printf "time ratio:   %.3f (target <= 0.2)\n", os / bs
  printf "memory ratio: %.3f (target <= 0.6)\n", ok / bk
}'
