#!/usr/bin/env bash
# Configures and builds the three builds: host, win64 and win32.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in host win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
