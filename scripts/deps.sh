#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need,
# when any of them is missing. Run as root (or with sudo available).
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ninja-build ccache clang libclang-rt-dev
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0 libglx-mesa0
  liblua5.1-0-dev
  libopenal-dev libopenal1 libvorbis-dev libogg-dev
  libpng-dev libjpeg-dev zlib1g-dev
  libfreetype-dev fonts-dejavu-core fonts-dejavu-extra
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool
  valgrind strace
)

# One query for every package: dpkg-query reads its status file once (it
# fails when a package is unknown to it, which leaves that one out).
missing=()
installed=" $(dpkg-query -W -f='${Package}=${Status};' "${PACKAGES[@]}" 2>/dev/null | tr ';' ' ' || true) "
for p in "${PACKAGES[@]}"; do
  [[ $installed == *" $p=install ok installed "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
