#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those
# that are missing. Runs as root (or through sudo when it is there).
set -eu
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libx11-dev libfreetype-dev libfontconfig-dev libpng-dev zlib1g-dev fonts-dejavu-core
  fonts-liberation2 fonts-ipafont-gothic fonts-nanum
  python3 file ncompress gzip xvfb x11-apps xclip
  imagemagick libpixman-1-dev
  netpbm libtiff-tools giflib-tools libtiff-dev libgif-dev ghostscript
  poppler-utils w3m
  netcat-openbsd
  libxml2-dev libelf-dev
  libsqlite3-dev libstb-dev
  libpcre2-dev liburiparser-dev hyperfine
  libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libswscale-dev
  libfluidsynth-dev timgm6mb-soundfont libasound2-dev ffmpeg fluidsynth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null && sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
