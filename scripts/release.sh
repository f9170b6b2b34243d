#!/usr/bin/env bash
# Builds the release into build/release/: the Windows installer (one 32-bit
# setup program that installs the 64-bit binaries on 64-bit Windows and the
# 32-bit ones on 32-bit Windows) and the zip of both sets of binaries with the
# help file and a Japanese readme. Builds win32 and win64 first.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in win32 win64; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "== installer and zip"
cmake --build --preset win64 --target release

out=build/release
rm -rf "$out"
mkdir -p "$out"
cp build/win64/installer/MORVANE-Shredder-*-setup.exe build/win64/installer/MORVANE-Shredder-*.zip "$out/"
(cd "$out" && sha256sum -- * > SHA256SUMS)
echo "release: $(cd "$out" && ls | tr '\n' ' ')in $out"
