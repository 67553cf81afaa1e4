#!/usr/bin/env bash
# Installs what the browser build and its tests need, only what is missing:
# Debian's emscripten, chromium and nodejs, the headers the wasm libraries
# borrow from Debian (utf8cpp), and puppeteer-core in scripts/web/driver/.
set -euo pipefail
cd "$(dirname "$0")/../.."
# npm may come with a node of another origin; then Debian's is not needed.
extra=(emscripten chromium libutfcpp-dev dpkg-dev xz-utils python3)
command -v node >/dev/null 2>&1 || extra+=(nodejs)
command -v npm >/dev/null 2>&1 || extra+=(npm)
./scripts/install-deps.sh "${extra[@]}"

# The test driver: puppeteer-core only (it downloads no browser), version 24
# since 25 needs a newer node than Debian 12's.
driver=scripts/web/driver
if [ ! -f "$driver/node_modules/puppeteer-core/package.json" ]; then
  echo "Installing puppeteer-core into $driver"
  (cd "$driver" && npm install --no-audit --no-fund --loglevel=error >/dev/null)
fi
