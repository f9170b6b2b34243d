#!/usr/bin/env bash
# Authenticode signing of the release's files, with osslsigncode, when a
# certificate is given in the environment:
#   SHREDDER_SIGN_PFX              the certificate and its key (PKCS#12)
#   SHREDDER_SIGN_PASSWORD         its password, when it has one
#   SHREDDER_SIGN_TIMESTAMP_URL    an RFC 3161 time-stamp server, when one is to vouch for the time
#
#   sign.sh FILE...     signs each file in place (programs, DLLs, the package); nothing without a certificate
#   sign.sh publisher   prints the certificate's subject as openssl spells it (RFC 2253)
#
# Without a certificate it does nothing and says nothing: the release says
# once that it is unsigned. With one, any failure fails the release, which
# must not go out half signed.
set -euo pipefail

[ -n "${SHREDDER_SIGN_PFX:-}" ] || exit 0
if [ ! -r "$SHREDDER_SIGN_PFX" ]; then
  echo "sign: cannot read the certificate $SHREDDER_SIGN_PFX" >&2
  exit 1
fi

# The password reaches the tools through a pipe, never on a command line
# that other users could read.
password() { printf '%s' "${SHREDDER_SIGN_PASSWORD:-}"; }

if [ "${1:-}" = publisher ]; then
  # Certificates exported by Windows use algorithms OpenSSL 3 keeps apart.
  certificate=$(password | openssl pkcs12 -in "$SHREDDER_SIGN_PFX" -passin stdin -nokeys -clcerts 2>/dev/null ||
    password | openssl pkcs12 -legacy -in "$SHREDDER_SIGN_PFX" -passin stdin -nokeys -clcerts)
  subject=$(printf '%s\n' "$certificate" | openssl x509 -noout -subject -nameopt RFC2253,-esc_msb)
  printf '%s\n' "${subject#subject=}"
  exit 0
fi

timestamp=()
[ -z "${SHREDDER_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$SHREDDER_SIGN_TIMESTAMP_URL")
for file in "$@"; do
  signed="$file.signing"
  rm -f "$signed"
  osslsigncode sign -pkcs12 "$SHREDDER_SIGN_PFX" -readpass <(password) -h sha256 \
    -n "MORVANE Shredder" -i "http://www.morvane.example/shredder/" "${timestamp[@]}" \
    -in "$file" -out "$signed" >/dev/null
  mv -f "$signed" "$file"
  echo "sign: $(basename "$file")"
done
