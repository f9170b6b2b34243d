#!/usr/bin/env bash
# Installs what the builds and the tests need on Debian 12, when it is missing.
# Idempotent; run by the two commands of the README.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  libwine-dev  # the base IDL files that widl imports for the type library
  wine wine64 xvfb xauth
  locales fonts-ipafont-gothic
  fp-utils-3.2.2
  ntfs-3g  # the NTFS image of the volume-image checks
  nsis  # makensis, for the installer
  openssl  # the signing certificate's subject, and the test certificate
  python3 p7zip-full  # the release tests' own readers of the package and the setup
)

# 32-bit Windows programs (the shipped setup.exe, the i686 build) need wine32,
# which comes from the i386 architecture, and a kernel that runs 32-bit code.
with_wine32=0
if bash "$(dirname "$0")/runs_i386.sh"; then
  with_wine32=1
  packages+=(wine32:i386)
else
  echo "setup: this machine runs 64-bit programs only; without wine32 the 32-bit tests are skipped"
fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ $with_wine32 = 1 ] && [ "$(dpkg --print-architecture)" = amd64 ] &&
  ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  as_root dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# osslsigncode signs packages (APPX/MSIX) from version 2.7 on; Debian 12's
# main archive has 2.5, its backports 2.9. The backports of the mirror the
# machine already uses are added for it alone (apt takes nothing else from
# them unless asked).
installed=$(dpkg-query -W -f='${Version}' osslsigncode 2>/dev/null || true)
if ! dpkg --compare-versions "${installed:-0}" ge 2.7; then
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  if ! grep -rqs -- "${codename}-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    mirror=$(grep -rhsE '^(deb |URIs:)' /etc/apt/sources.list /etc/apt/sources.list.d/ |
      grep -oE 'https?://[^ ]+/debian/?' | grep -v security | head -n 1)
    echo "setup: adding ${codename}-backports from ${mirror:=http://deb.debian.org/debian}, for osslsigncode"
    echo "deb $mirror ${codename}-backports main" | as_root tee /etc/apt/sources.list.d/morvane-shredder-backports.list >/dev/null
  fi
  echo "setup: installing osslsigncode from ${codename}-backports"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    -t "${codename}-backports" osslsigncode >/dev/null
fi

# Wine takes the Linux side's character set for file names and arguments; with
# a Japanese UTF-8 locale they round-trip as code page 932. The English one
# is the bed of the check that the texts do not depend on that code page.
for wanted in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8$"; then
    echo "setup: generating the $wanted.UTF-8 locale"
    if grep -q "^# *$wanted.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
      as_root sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
    else
      echo "$wanted.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
  fi
done
