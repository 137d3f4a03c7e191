#!/bin/sh
# Converts every sample input (gpx, kml, nmea, ngt; upper-case extensions too) to every output
# (gpx, kml, csv, the htm map page) and reads each gpx and kml output back.
set -eu
tool=$1 data=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cp "$data/convert_sample.nmea" "$out/upper.NMEA"
for in in "$data"/convert_sample.gpx "$data"/convert_sample.kml "$data"/convert_sample.nmea \
          "$data"/convert_sample.ngt "$out/upper.NMEA"; do
  base=$(basename "$in" | tr . _)
  for ext in gpx kml csv htm; do
    "$tool" "$in" "$out/$base.$ext" >/dev/null
    test -s "$out/$base.$ext"
  done
  "$tool" "$out/$base.gpx" >/dev/null
  "$tool" "$out/$base.kml" >/dev/null
  head -1 "$out/$base.csv" | grep -q '^Latitude;Longitude;'
  grep -q 'GPolyline.fromEncoded' "$out/$base.htm"
done
# Unknown content fails.
if "$tool" "$data/convert_sample.ngt.missing" >/dev/null 2>&1; then exit 1; fi
# A folder, an empty or a binary file as input fails, whatever the reader; a pipe as output
# is refused and stays a pipe.
mkdir "$out/dir.nmea" "$out/dir.ngt" "$out/dir.kml" "$out/dir.gpx"
: >"$out/empty.ngt"
printf '\000\001\377binary' >"$out/binary.nmea"
for in in "$out"/dir.* "$out/empty.ngt" "$out/binary.nmea"; do
  if "$tool" "$in" "$out/never.gpx" >/dev/null 2>&1; then echo "$in read"; exit 1; fi
done
test ! -e "$out/never.gpx"
mkfifo "$out/pipe.gpx"
if "$tool" "$data/convert_sample.gpx" "$out/pipe.gpx" >/dev/null 2>&1; then exit 1; fi
test -p "$out/pipe.gpx"
echo ok
