#!/usr/bin/env bash
# Builds the three builds and the release, and runs every test: the host
# tests under the sanitizers, then the Windows-side, end-to-end and release
# tests under Wine in the build's private test bed (prefix, virtual display
# and all), then the i686 build's end-to-end scenarios in a bed of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/release.sh
ctest --preset host
ctest --preset win64
ctest --preset win32
