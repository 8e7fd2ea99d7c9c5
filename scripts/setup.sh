#!/usr/bin/env bash
# Installs every Debian package the suite needs to build, test and run.
# Idempotent: packages already present are not fetched again, and the
# package lists are refreshed at most once per run.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git mold
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev libxlsxwriter-dev libzip-dev libmodbus-dev
  clang libclang-rt-14-dev clang-format
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libgl-dev
  qt6-translations-l10n
  xvfb xauth fonts-wqy-zenhei
  python3-pymodbus python3-serial-asyncio python3-openpyxl
  nlohmann-json3-dev
  desktop-file-utils shared-mime-info dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
