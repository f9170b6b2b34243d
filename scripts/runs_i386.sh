#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 programs. Some virtual machines run
# 64-bit user code only (the kernel's IA-32 emulation is off); there wine32
# cannot start anything, and with it installed Wine's own start script would
# still choose it. The probe is the smallest 32-bit program: it exits with 0.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/runs_i386.XXXXXX")
trap 'rm -f "$probe"' EXIT
base64 -d > "$probe" <<'ELF'
f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhbAAAAWwAAAAUAAAAAEAAAMdsxwEDNgA==
ELF
chmod +x "$probe"
"$probe" 2>/dev/null
