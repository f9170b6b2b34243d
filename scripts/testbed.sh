#!/usr/bin/env bash
# A private Wine test bed: prefix, home (Wine's recycle bin lives in its
# trash), X display and environment, all inside one folder.
#
#   testbed.sh up <bed> <build-dir> [<source-dir>]  create or reuse the bed; start its display and wineserver
#   testbed.sh down <bed>                           stop its wineserver and display
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

init_prefix() {
  local build=$1 source=$2
  # Bump when the set-up below changes, so that existing beds are rebuilt.
  local stamp="5|$build|$source|$LC_ALL"
  if [ -f "$bed/prefix/.testbed-ready" ] && [ "$(cat "$bed/prefix/.testbed-ready")" = "$stamp" ]; then
    return
  fi
  rm -rf "$bed/prefix" "$bed/home"
  mkdir -p "$bed/home"
  echo "testbed: initialising the Wine prefix in $bed/prefix" >&2
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  rm -f "$bed/prefix/dosdevices/z:"
  ln -sfn "$build" "$bed/prefix/dosdevices/y:"
  ln -sfn "$source" "$bed/prefix/dosdevices/x:"
  cat > "$bed/testbed.reg" <<'REG'
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
  wine regedit /S "$(winepath_of "$bed/testbed.reg")" </dev/null >/dev/null 2>&1 || true
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
  down)
    wineserver -k 2>/dev/null || true
    if display_alive; then kill "$(cat "$bed/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$bed/xvfb.pid" "$bed/display"
    ;;
  exec)
    build_dir=$(cat "$bed/build")
    exe=$(cd "$(dirname "${3:?exe}")" && pwd)/$(basename "$3")
    shift 3
    run_quietly wine "$(winepath_of "$exe")" "$@"
    ;;
  wine)
    shift 2
    run_quietly wine "$@"
    ;;
  env)
    for name in WINEPREFIX WINEDEBUG WINEDLLOVERRIDES LC_ALL LANG HOME DISPLAY; do
      printf 'export %s=%q\n' "$name" "${!name:-}"
    done
    ;;
  *)
    echo "testbed: unknown command $command" >&2
    exit 2
    ;;
esac
