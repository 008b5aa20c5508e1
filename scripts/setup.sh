#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and run Velkaro, then configures and builds
# it into build/. Safe to run again: it installs only missing packages and rebuilds incrementally.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev libjpeg-dev libgif-dev libgdal-dev
  googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev
  fonts-noto-cjk xvfb xauth clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi

# The web map pages load Leaflet from a local copy; npm brings the pinned version. Node.js may
# already come from elsewhere (its own package carries npm), so look for the command itself.
if [ -f package-lock.json ]; then
  if ! command -v npm >/dev/null 2>&1; then
    [ "$(id -u)" -eq 0 ] && apt-get install -y -qq nodejs npm || sudo apt-get install -y -qq nodejs npm
  fi
  [ -d node_modules/leaflet ] || npm ci --no-audit --no-fund --loglevel=error
fi

build_type="${VELKARO_BUILD_TYPE:-Release}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" ${VELKARO_CMAKE_ARGS:-}
cmake --build build -j "$(nproc)"
