#!/usr/bin/env bash
# Installs the Debian packages Corvantel builds, runs and tests with, when any is missing.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  libxml2-dev libxml2-utils libcurl4-openssl-dev libjpeg62-turbo-dev gettext
  libgtest-dev
  qt6-base-dev qt6-qpa-plugins libqt6svg6 fonts-dejavu-core qt6-translations-l10n
  qt6-webengine-dev libqt6webenginecore6-bin libjs-leaflet
  gpsbabel python3 python3-gpxpy time gdal-bin
  python3-polyline nodejs
  xvfb xauth
  desktop-file-utils shared-mime-info
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
