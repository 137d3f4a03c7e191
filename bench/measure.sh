# Shared by the compare_*.sh scripts, which source it from the source tree's root with their
# own arguments [FILE.gpx] [BUILD_DIR]. Sets BUILD, TMP (removed on exit) and IN (a generated
# 1,000,000-point track when no file is given), checks the tools, and defines measure.

BUILD=${2:-build}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
IN=${1:-}
if [ -z "$IN" ]; then
  IN="$TMP/big.gpx"
  "$BUILD/bench/bench_gen_gpx" "$IN" 1000000
fi
command -v gpsbabel >/dev/null || { echo "gpsbabel is not installed" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is not installed (apt-get install time)" >&2; exit 1; }

# Prints "seconds peak_kib" of one command, from /usr/bin/time -v; the command's own output
# is kept in $TMP/out.txt. A failing command stops the script with its messages.
measure() {
  /usr/bin/time -v "$@" 2>"$TMP/time.txt" >"$TMP/out.txt" || { cat "$TMP/time.txt" >&2; exit 1; }
  awk -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
    /Maximum resident set size/ { m = $2 }
    END { printf "%.2f %d\n", s, m }' "$TMP/time.txt"
}

echo "file: $IN ($(du -m "$IN" | cut -f1) MB)"
