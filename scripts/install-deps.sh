#!/usr/bin/env bash
# Installs the Debian packages the project needs, and any given as arguments,
# only those missing. Runs as root (or with sudo available) on Debian 12.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libglfw3-dev libglew-dev libglm-dev libstb-dev libassimp-dev
  libopenal-dev libmpg123-dev libmp3lame-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libgl1-mesa-dri mesa-utils
  xdotool x11-utils imagemagick glslang-tools
  ffmpeg
  "$@"
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
