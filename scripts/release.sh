#!/usr/bin/env bash
# Builds the release into build/release/: the Windows installer (one 32-bit
# setup program that installs the 64-bit binaries on 64-bit Windows and the
# 32-bit ones on 32-bit Windows, with the package of Windows 11's first
# right-click menu when the release is signed) and the zip of both sets of
# binaries with the help file and a Japanese readme. Builds win32 and win64
# first (and the host build's packer).
#
# Signed with Authenticode when a certificate is given (installer/sign.sh):
#   SHREDDER_SIGN_PFX=cert.pfx SHREDDER_SIGN_PASSWORD=... \
#   SHREDDER_SIGN_TIMESTAMP_URL=http://timestamp.example/ bash scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SHREDDER_SIGN_PFX:-}" ]; then
  echo "release: no certificate given (SHREDDER_SIGN_PFX): building unsigned, without the Windows 11 menu's package in the setup"
fi
for preset in win32 win64; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "== installer, zip and package"
cmake --build --preset win64 --target release

out=build/release
rm -rf "$out"
mkdir -p "$out"
cp build/win64/installer/MORVANE-Shredder-*-setup.exe build/win64/installer/MORVANE-Shredder-*.zip "$out/"
if [ -n "${SHREDDER_SIGN_PFX:-}" ]; then
  cp build/win64/installer/stage/morvane-shredder.msix "$out/"
fi
(cd "$out" && sha256sum -- * > SHA256SUMS)
echo "release: $(cd "$out" && ls | tr '\n' ' ')in $out"
