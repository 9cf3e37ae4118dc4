#!/usr/bin/env bash
# Installs the Debian packages that building, testing, packaging and showing
# screens need. Does nothing (and needs no network) when all are present.
set -euo pipefail

packages=(
  # build: compiler, CMake, drawing and text, the command line
  cmake g++ make pkg-config libcairo2-dev libpango1.0-dev libfontconfig-dev fonts-dejavu-core
  libcli11-dev
  # tests, sanitizers, fuzzers, benchmarks, the 32-bit build
  libgtest-dev libbenchmark-dev clang libclang-rt-14-dev gcc-multilib g++-multilib valgrind
  # the 32-bit build's platform layer links the i386 rasterizer
  libcairo2-dev:i386 libpango1.0-dev:i386 libfontconfig-dev:i386
  # the display component and its tests on a virtual display
  libgtk-4-dev xvfb xauth xdotool x11-utils imagemagick
  # the API reference and the Debian package
  doxygen dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "install-deps: installing ${missing[*]}" >&2
if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
