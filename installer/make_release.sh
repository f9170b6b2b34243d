#!/usr/bin/env bash
# shellcheck disable=SC2154  # the arg_ variables are the NAME=VALUE arguments
# Makes the release from the builds' binaries, in this order, since a
# signature covers what it signs and nothing packed can be signed later:
#   1. the binaries of both builds and the help file into OUT/stage, the
#      programs and DLLs signed (installer/sign.sh: only with a certificate);
#   2. the package of Windows 11's first menu (the manifest, its publisher
#      the certificate's subject), then signed;
#   3. the setup program from the stage (its uninstaller signed as makensis
#      writes it), then signed; and the zip of the stage.
# Run by the `release` target of the win64 build (installer/CMakeLists.txt),
# which passes every argument as NAME=VALUE:
#   out bin64 bin32 msixpack manifest package_name logo nsi makensis version version_quad icon
#   release_name readme zip_script [test_setup: also the 64-bit setup of the tests, 1 or 0]
set -euo pipefail

for argument in "$@"; do
  case "$argument" in
    *=*) printf -v "arg_${argument%%=*}" '%s' "${argument#*=}" ;;
    *) echo "make_release: not NAME=VALUE: $argument" >&2; exit 2 ;;
  esac
done
for name in out bin64 bin32 msixpack manifest package_name logo nsi makensis version version_quad icon release_name \
  readme zip_script; do
  variable="arg_$name"
  if [ -z "${!variable:-}" ]; then
    echo "make_release: $name= is missing" >&2
    exit 2
  fi
done
# Paths as the makensis and cmake it starts will see them, wherever they run.
for name in out bin64 bin32 msixpack manifest logo nsi icon readme zip_script; do
  variable="arg_$name"
  printf -v "$variable" '%s' "$(realpath -m "${!variable}")"
done
here=$(cd "$(dirname "$0")" && pwd)
sign() { bash "$here/sign.sh" "$@"; }

stage="$arg_out/stage"
rm -rf "$stage"
mkdir -p "$stage/64bit" "$stage/32bit"
cp "$arg_bin64/binshredder.exe" "$arg_bin64/shredmenu.dll" "$arg_bin64/morvane-shredder.chm" "$stage/64bit/"
cp "$arg_bin32/binshredder.exe" "$arg_bin32/shredmenu.dll" "$stage/32bit/"
sign "$stage"/64bit/*.exe "$stage"/64bit/*.dll "$stage"/32bit/*.exe "$stage"/32bit/*.dll

# An unsigned package carries the publisher Windows 11 reserves for packages
# without a signature: a maintainer can try it (Add-AppxPackage
# -AllowUnsigned), and it never passes for a signed one.
package="$stage/morvane-shredder.msix"
if [ -n "${SHREDDER_SIGN_PFX:-}" ]; then
  publisher=(--subject "$(sign publisher)")
else
  publisher=(--publisher "CN=MORVANE, OID.2.25.311729368913984317654407730594956997722=1")
fi
"$arg_msixpack" --manifest "$arg_manifest" --name "$arg_package_name" "${publisher[@]}" \
  --output "$package" --family-output "$stage/package-family.txt"
sign "$package"

# What the setup learns of the package. Only a signed one can be
# registered, so an unsigned release carries none.
defines="$stage/package.nsh"
{
  echo "; Written by installer/make_release.sh."
  echo "!define MENU_PACKAGE_NAME \"$arg_package_name\""
  if [ -n "${SHREDDER_SIGN_PFX:-}" ]; then
    echo "!define MENU_PACKAGE \"$package\""
    echo "!define MENU_PACKAGE_FAMILY \"$(cat "$stage/package-family.txt")\""
    echo "!define MENU_PACKAGE_LOGO \"$arg_logo\""
    echo "!define SIGN_COMMAND \`bash \"$here/sign.sh\"\`"
  fi
} >"$defines"

nsis() {
  "$arg_makensis" -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$arg_version" -DVERSION_QUAD="$arg_version_quad" \
    -DBIN64="$stage/64bit" -DBIN32="$stage/32bit" -DICON="$arg_icon" -DMENU_PACKAGE_DEFINES="$defines" "$@" "$arg_nsi"
}
setup="$arg_out/$arg_release_name-setup.exe"
nsis -DTARGET=x86-unicode -DOUTFILE="$setup"
sign "$setup"
if [ "${arg_test_setup:-0}" = 1 ]; then
  # Not shipped (see installer/CMakeLists.txt), so not signed.
  mkdir -p "$arg_out/test"
  nsis -DTARGET=amd64-unicode -DOUTFILE="$arg_out/test/$arg_release_name-setup-amd64.exe"
fi

cmake -DNAME="$arg_release_name" -DVERSION="$arg_version" -DSTAGE="$arg_out/zip" \
  -DOUTPUT="$arg_out/$arg_release_name.zip" -DBIN64="$stage/64bit" -DBIN32="$stage/32bit" -DREADME="$arg_readme" \
  -P "$arg_zip_script"
