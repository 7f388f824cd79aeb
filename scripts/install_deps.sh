#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail

packages=(
  build-essential cmake libgtest-dev libbenchmark-dev libcli11-dev
  # the second compiler the tests build with, and its fuzzing and sanitizer runtimes
  clang libclang-rt-14-dev
  # the authors' tool: JSON diagnostics and reports, route sheets drawn with cairo (found through pkg-config)
  nlohmann-json3-dev libcairo2-dev pkg-config
  # an independent SVG renderer to check the route sheets against
  librsvg2-bin
  # the Linux desktop: FLTK on X11 (CMake's FindFLTK also looks for fluid)
  libfltk1.3-dev fluid libxtst-dev libpng-dev
  # a display for the window tests
  xvfb fonts-dejavu-core
  # a sans-serif face as narrow as the waiting window's own, so that its label fits
  fonts-liberation2
  # the Windows program: MinGW-w64 with POSIX threads (GoogleTest needs them), run under wine
  g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
  # the X libraries wine's display driver loads at run time (only recommended by wine)
  libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxxf86vm1
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
