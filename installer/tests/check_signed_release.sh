#!/usr/bin/env bash
# Makes the release as a maintainer with a certificate would, into a folder
# of its own, with a throw-away certificate made here, and checks every
# signature against that certificate as the only trust anchor: the four
# binaries, the package, the setup, and the binaries and uninstaller that
# the setup carries (unpacked by 7-Zip), which must have been signed before
# they were packed. Then the package is read by check_menu_package.py.
#   check_signed_release.sh SCRATCH PYTHON make_release.sh's NAME=VALUE arguments...
set -euo pipefail

scratch=$1
python=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
for argument in "$@"; do
  case "$argument" in
    bin64=* | bin32=* | msixpack=*) ;;
    *) continue ;;
  esac
  path=${argument#*=}
  if [ ! -e "$path" ] || { [ -d "$path" ] && [ ! -e "$path/shredmenu.dll" ]; }; then
    echo "SKIPPED: the release's inputs are not built (cmake --build --preset win64 --target release): $path"
    exit 0
  fi
done

rm -rf "$scratch"
mkdir -p "$scratch/certificate"
cd "$scratch/certificate"
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out certificate.pem -days 2 \
  -subj "/C=JP/O=MORVANE/CN=MORVANE Release Test" -addext extendedKeyUsage=codeSigning \
  -addext keyUsage=digitalSignature 2>/dev/null
openssl pkcs12 -export -inkey key.pem -in certificate.pem -out signing.pfx -passout pass:throw-away
certificate="$scratch/certificate/certificate.pem"

SHREDDER_SIGN_PFX="$scratch/certificate/signing.pfx" SHREDDER_SIGN_PASSWORD=throw-away \
  bash "$here/../make_release.sh" out="$scratch/release" "$@"

failures=0
verify() {
  local report
  if report=$(osslsigncode verify -CAfile "$certificate" -in "$1" 2>&1) &&
    grep -q "^Signature verification: ok" <<<"$report"; then
    echo "signed: ${1#"$scratch"/} ($(grep -m1 "Subject:" <<<"$report" | sed 's/^[[:space:]]*//'))"
  else
    echo "NOT SIGNED as it should be: $1" >&2
    echo "$report" | tail -5 >&2
    failures=$((failures + 1))
  fi
}
release="$scratch/release"
for file in "$release"/stage/64bit/*.exe "$release"/stage/64bit/*.dll "$release"/stage/32bit/*.exe \
  "$release"/stage/32bit/*.dll "$release"/stage/morvane-shredder.msix "$release"/*-setup.exe; do
  verify "$file"
done

unpacked="$scratch/setup-unpacked"
mkdir -p "$unpacked"
7z x -y -o"$unpacked" "$release"/*-setup.exe >/dev/null
for name in binshredder.exe shredmenu.dll shredmenu32.dll uninstall.exe morvane-shredder.msix; do
  if [ -e "$unpacked/$name" ]; then
    verify "$unpacked/$name"
  else
    echo "the setup does not carry $name" >&2
    failures=$((failures + 1))
  fi
done
if ! cmp -s "$unpacked/morvane-shredder.msix" "$release/stage/morvane-shredder.msix" ||
  [ ! -e "$unpacked/morvane-shredder.png" ]; then
  echo "the setup's package or its logo is not the release's" >&2
  failures=$((failures + 1))
fi

"$python" "$here/check_menu_package.py" "$release/stage/morvane-shredder.msix" "$release/stage/64bit/shredmenu.dll" \
  --certificate "$certificate" || failures=$((failures + 1))
[ "$failures" -eq 0 ] || exit 1
rm -rf "$scratch"
echo "signed release: every signature verified against the test certificate"
