#!/usr/bin/env bash
# Installs every Debian 12 package the workstation needs to build, run and test.
# Idempotent and non-interactive; runs apt through sudo when not root.
set -euo pipefail

PACKAGES=(
  g++ cmake make pkgconf ccache git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev qt6-webengine-dev
  qt6-multimedia-dev qt6-l10n-tools
  libqt6sql6-ibase firebird3.0-server-core firebird3.0-utils firebird-dev firebird3.0-server
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  libxlsxwriter-dev zlib1g-dev libbenchmark-dev libssl-dev
  xvfb xauth fonts-dejavu-core poppler-utils python3-openpyxl
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream lintian librsvg2-bin
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  echo "All packages are installed."
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
