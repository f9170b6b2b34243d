#!/usr/bin/env bash
# A private Wine test bed: prefix, home (Wine's recycle bin lives in its
# trash), X display and environment, all inside one folder.
#
#   testbed.sh up <bed> <build-dir> [<source-dir>]  create or reuse the bed; start its display and wineserver
#   testbed.sh down <bed>                           stop its wineserver and display
#   testbed.sh restart <bed>                        restart its wineserver (and with it Wine's services)
#   testbed.sh exec <bed> <linux-path-of-exe> [args...]   run a program of the build under Wine
#   testbed.sh wine <bed> [args...]                 run wine itself in the bed
#   testbed.sh env <bed>                            print the environment, for a shell: eval "$(testbed.sh env <bed>)"
#
# The build directory is drive Y: and the source tree X:, both marked as
# network drives so that walks over the fixed drives never visit them. Z:
# (the whole Linux file system) is removed. With SHRED_USE_DISPLAY=1 and
# DISPLAY set, the bed uses that display instead of a private Xvfb.
# SHRED_TESTBED_LOCALE at `up` sets the bed's locale, and with it Windows'
# ANSI code page (ja_JP.UTF-8, code page 932, unless said otherwise).
set -euo pipefail

command=${1:?command}
bed=${2:?bed folder}
mkdir -p "$bed"
bed=$(cd "$bed" && pwd)
scripts=$(cd "$(dirname "$0")" && pwd)

bed_environment() {
  export WINEPREFIX=$bed/prefix
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  local locale=ja_JP.UTF-8
  if [ -f "$bed/locale" ]; then locale=$(cat "$bed/locale"); fi
  export LC_ALL=$locale LANG=$locale
  export HOME=$bed/home
  unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_RUNTIME_DIR
  if [ -f "$bed/display" ]; then export DISPLAY=$(cat "$bed/display"); fi
  # Whether the bed runs 32-bit programs: wine32 installed, and a machine that
  # runs 32-bit code (scripts/runs_i386.sh). The test programs read it too.
  if [ ! -f "$bed/runs32" ]; then
    if [ -x /usr/lib/wine/wine ] && bash "$scripts/runs_i386.sh"; then echo 1; else echo 0; fi > "$bed/runs32"
  fi
  export SHRED_TESTBED_RUNS_32BIT=$(cat "$bed/runs32")
  if [ "$SHRED_TESTBED_RUNS_32BIT" = 0 ] && [ -x /usr/lib/wine/wine ]; then
    # wine32 where it cannot run: Wine's start scripts would still choose it.
    mkdir -p "$bed/bin"
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$bed/bin/$name"
      chmod +x "$bed/bin/$name"
    done
    export PATH=$bed/bin:$PATH WINELOADER=/usr/lib/wine/wine64
  fi
}

display_alive() {
  [ -f "$bed/xvfb.pid" ] && kill -0 "$(cat "$bed/xvfb.pid")" 2>/dev/null
}

start_display() {
  if [ "${SHRED_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    echo "$DISPLAY" > "$bed/display"
    rm -f "$bed/xvfb.pid"
    return
  fi
  if display_alive && [ -f "$bed/display" ]; then return; fi
  local fdfile=$bed/xvfb.displayfd
  rm -f "$fdfile"
  # -displayfd picks a free display number and writes it once the server is up.
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >"$bed/xvfb.log" 2>&1 &
  echo $! > "$bed/xvfb.pid"
  for _ in $(seq 1 100); do
    if [ -s "$fdfile" ]; then break; fi
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "testbed: Xvfb did not start" >&2; cat "$bed/xvfb.log" >&2; exit 1; }
  echo ":$(tr -d '[:space:]' < "$fdfile")" > "$bed/display"
}

# Once wine32 runs, Wine can no longer start anything in a prefix made without
# it ("could not load kernel32.dll"): such a prefix is made afresh.
prefix_fits_wine() {
  [ "$SHRED_TESTBED_RUNS_32BIT" = 0 ] || [ -f "$bed/prefix/drive_c/windows/syswow64/kernel32.dll" ]
}

init_prefix() {
  local build=$1 source=$2
  # Bump when the set-up below changes, so that existing beds are rebuilt.
  local stamp="6|$build|$source|$LC_ALL"
  if [ -f "$bed/prefix/.testbed-ready" ] && [ "$(cat "$bed/prefix/.testbed-ready")" = "$stamp" ] && prefix_fits_wine; then
    return
  fi
  wineserver -k 2>/dev/null || true
  rm -rf "$bed/prefix" "$bed/home"
  mkdir -p "$bed/home"
  echo "testbed: initialising the Wine prefix in $bed/prefix" >&2
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  rm -f "$bed/prefix/dosdevices/z:"
  ln -sfn "$build" "$bed/prefix/dosdevices/y:"
  ln -sfn "$source" "$bed/prefix/dosdevices/x:"
  # On drive C:, which every Wine program of the bed sees.
  local settings=$bed/prefix/drive_c/windows/temp/testbed.reg
  mkdir -p "$(dirname "$settings")"
  cat > "$settings" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"y:"="network"
"x:"="network"

; One virtual desktop the size of the display: Wine then draws the window
; frames itself and shows a taskbar with the notification area.
[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

; A crashing test program ends at once instead of waiting in the debugger's dialog.
[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="1"
"Debugger"=-

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Tahoma"="IPAPGothic"
REG
  # Into both registry views: plain `wine reg` is the 32-bit one in a WoW64
  # prefix, Wine's drive manager reads the 64-bit view, and the programs of
  # either build read their own (the fonts, the debugger).
  local view
  for view in 64 32; do
    # Loudly: without it the bed's network drives X: and Y: are fixed drives
    # that every recycle-bin walk visits.
    wine reg import 'C:\windows\temp\testbed.reg' /reg:$view </dev/null >/dev/null 2>&1 ||
      { echo "testbed: the bed's settings did not reach the $view-bit registry view" >&2; exit 1; }
  done
  rm -f "$settings"
  wineserver -k || true
  wineserver -w || true
  echo "$stamp" > "$bed/prefix/.testbed-ready"
}

# The Windows path of a file of the build (drive Y:) or of the bed.
winepath_of() {
  local path=$1
  if [ -n "${build_dir:-}" ] && [[ $path == "$build_dir"/* ]]; then
    local rel=${path#"$build_dir"/}
    echo "Y:\\${rel//\//\\}"
  else
    # During the set-up Z: still exists.
    echo "Z:${path//\//\\}"
  fi
}

# The machine a Windows program is built for: 014c (x86) or 8664 (x64).
pe_machine() {
  local header
  header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((header + 4)) -N 2 "$1" | tr -d ' '
}

# Runs a Wine command with its output going through a file. Wine starts its
# services (explorer, winedevice) from the first process that needs them and
# they inherit its standard handles: a caller reading a pipe (CTest, a shell
# substitution) would otherwise wait for those services to end.
run_quietly() {
  local log
  log=$(mktemp "$bed/run.XXXXXX")
  local status=0
  "$@" </dev/null >"$log" 2>&1 || status=$?
  cat "$log"
  rm -f "$log"
  return $status
}

bed_environment
case $command in
  up)
    echo "${SHRED_TESTBED_LOCALE:-ja_JP.UTF-8}" > "$bed/locale"
    rm -f "$bed/runs32"  # looked at again: wine32 may have come since
    bed_environment
    build_dir=$(cd "${3:?build dir}" && pwd)
    source_dir=$(cd "${4:-$(dirname "$0")/..}" && pwd)
    echo "$build_dir" > "$bed/build"
    start_display
    bed_environment
    init_prefix "$build_dir" "$source_dir"
    # Wine keeps its recycle bin in the freedesktop trash, which it creates
    # only where ~/.local/share exists; without it a "recycled" file is
    # deleted outright.
    mkdir -p "$bed/home/.local/share"
    # One persistent server for all the runs of the bed; the first process
    # fixes the code page, so it starts under the Japanese locale.
    wineserver -p </dev/null >/dev/null 2>&1 || true
    ;;
  restart)
    # Wine's drive manager learns the drives when the services start: a drive
    # linked into dosdevices later opens and lists, but its volume (serial,
    # file system) cannot be read until the services start again.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wineserver -p </dev/null >/dev/null 2>&1 || true
    ;;
  down)
    wineserver -k 2>/dev/null || true
    if display_alive; then kill "$(cat "$bed/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$bed/xvfb.pid" "$bed/display"
    ;;
  exec)
    build_dir=$(cat "$bed/build")
    exe=$(cd "$(dirname "${3:?exe}")" && pwd)/$(basename "$3")
    shift 3
    if [ "$SHRED_TESTBED_RUNS_32BIT" = 0 ] && [ "$(pe_machine "$exe")" = 014c ]; then
      # CTest takes the word for a skip.
      echo "SKIPPED: $(basename "$exe") is a 32-bit program, and this machine runs 64-bit programs only" \
        "(without wine32, or with a kernel that does not run 32-bit code)"
      exit 0
    fi
    run_quietly wine "$(winepath_of "$exe")" "$@"
    ;;
  wine)
    shift 2
    run_quietly wine "$@"
    ;;
  env)
    for name in WINEPREFIX WINEDEBUG WINEDLLOVERRIDES LC_ALL LANG HOME DISPLAY SHRED_TESTBED_RUNS_32BIT PATH WINELOADER; do
      if [ -n "${!name+set}" ]; then printf 'export %s=%q\n' "$name" "${!name}"; fi
    done
    ;;
  *)
    echo "testbed: unknown command $command" >&2
    exit 2
    ;;
esac
