#!/usr/bin/env bash
# Installs what is missing, builds Corvantel and starts the editor (with FILE when given).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja ${CMAKE_ARGS:-} >/dev/null
cmake --build "$BUILD_DIR" --target corvantel -- -j4

PROGRAM="$BUILD_DIR/src/app/corvantel"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display. Run the editor under a virtual X server:"
  echo "  xvfb-run -a $PROGRAM ${1:+\"$1\"}"
  exit 1
fi
exec "$PROGRAM" "$@"
