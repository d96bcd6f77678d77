#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run, test and
# package Keynest. Runs apt-get only when a package is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  libbotan-2-dev libzxcvbn-dev libcsv-dev nlohmann-json3-dev
  nettle-dev libgcrypt20-dev
  clang libclang-rt-14-dev
  xdg-utils fonts-dejavu-core
  libqt6svg6 desktop-file-utils appstream
  dpkg-dev file
  poppler-utils
  dbus-daemon
  xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
