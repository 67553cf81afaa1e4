#!/usr/bin/env bash
# Installs what the browser build and its tests need, only what is missing:
# Debian's emscripten, chromium and nodejs, the headers the wasm libraries
# borrow from Debian (utf8cpp), and puppeteer-core in scripts/web/driver/.
set -euo pipefail
cd "$(dirname "$0")/../.."
./scripts/install-deps.sh

PACKAGES=(emscripten chromium nodejs npm libutfcpp-dev dpkg-dev xz-utils python3)
missing=()
for p in "${PACKAGES[@]}"; do
  # npm may come with a node of another origin; then Debian's is not needed.
  if [ "$p" = npm ] && command -v npm >/dev/null 2>&1; then continue; fi
  if [ "$p" = nodejs ] && command -v node >/dev/null 2>&1; then continue; fi
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The test driver: puppeteer-core only (it downloads no browser), version 24
# since 25 needs a newer node than Debian 12's.
driver=scripts/web/driver
if [ ! -f "$driver/node_modules/puppeteer-core/package.json" ]; then
  echo "Installing puppeteer-core into $driver"
  (cd "$driver" && npm install --no-audit --no-fund --loglevel=error >/dev/null)
fi
