#!/usr/bin/env bash
# Times gpsbabel's cross-track simplification beside our filters on the same generated track.
# Usage: bench/compare_filters.sh [POINTS...]   (default 1000000; run after a build)
# gpsbabel's simplify grows much faster than linearly, so each run of it is cut off after
# GPSBABEL_TIMEOUT seconds (default 600).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
BENCH="$BUILD_DIR/bench/bench_filters"
LIMIT=${GPSBABEL_TIMEOUT:-600}
[ -x "$BENCH" ] || { echo "build first: $BENCH is missing" >&2; exit 1; }
command -v gpsbabel >/dev/null || { echo "gpsbabel is not installed" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Wall seconds of a command, or "over N s" when the time limit stops it.
seconds() {
  local s e
  s=$(date +%s.%N)
  if timeout "$LIMIT" "$@" >/dev/null; then
    e=$(date +%s.%N)
    echo "$(echo "$e - $s" | bc) s"
  else
    echo "over $LIMIT s (stopped)"
  fi
}

for points in "${@:-1000000}"; do
  echo "== $points points"
  "$BENCH" --points "$points" --gpx "$WORK/in.gpx"
  echo "GPX text: $(du -h "$WORK/in.gpx" | cut -f1)"
  rm -f "$WORK/out.gpx"
  echo "gpsbabel read+write only:         $(seconds gpsbabel -i gpx -f "$WORK/in.gpx" -o gpx -F "$WORK/copy.gpx")"
  echo "gpsbabel simplify crosstrack 2 m: $(seconds gpsbabel -i gpx -f "$WORK/in.gpx" \
    -x simplify,crosstrack,error=0.002k -o gpx -F "$WORK/out.gpx")"
  [ -s "$WORK/out.gpx" ] && echo "gpsbabel kept $(grep -c '<trkpt' "$WORK/out.gpx") points"
  echo "ours, the filter alone on the track in memory:"
  "$BENCH" --points "$points"
done
