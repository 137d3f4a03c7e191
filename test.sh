#!/usr/bin/env bash
# Installs what is missing, builds Corvantel and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja ${CMAKE_ARGS:-}
cmake --build "$BUILD_DIR"
# The fuzz targets build where clang is (deps.sh installs it), before the home folder moves
# (the compiler cache lives there).
FUZZ=0
if command -v clang++ >/dev/null && [ "${SKIP_FUZZ:-0}" != 1 ]; then
  FUZZ_BUILD_ONLY=1 ./fuzz/run.sh
  FUZZ=1
fi

# Tests never touch the user's home or the network.
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
TMPHOME=$(mktemp -d)
trap 'rm -rf "$TMPHOME"' EXIT
export HOME="$TMPHOME" XDG_DATA_HOME="$TMPHOME/data" XDG_CONFIG_HOME="$TMPHOME/config" XDG_CACHE_HOME="$TMPHOME/cache"
export no_proxy='*' http_proxy= https_proxy= all_proxy=

# A short fuzz run of every target as a regression check; a finding fails the run.
if [ "$FUZZ" = 1 ]; then ./fuzz/run.sh "${FUZZ_SECONDS:-18}"; fi
(cd "$BUILD_DIR" && ctest --output-on-failure -j"$(nproc)" "$@")
