# Sourced by the test, demonstration and benchmark scripts: a Wine prefix of
# the build's own and a virtual display, with a persistent wineserver so that
# every program start costs a fraction of a second.
#   cs_env_start <state-dir>   sets WINEPREFIX, DISPLAY, WINEDEBUG and friends
#   cs_env_stop                ends the wineserver and the virtual display
#   cs_runs_32bit              true when this machine runs 32-bit Windows
#                              programs; else CS_NO_32BIT_REASON says why

CS_WINE64=/usr/lib/wine/wine64
CS_WINESERVER=/usr/lib/wine/wineserver64
# The 32-bit loader hands 64-bit programs on to wine64; one server serves both.
CS_WINE32=${CS_WINE32:-/usr/lib/wine/wine}
[ -x "$CS_WINE64" ] || CS_WINE64=$(command -v wine64 || command -v wine)
[ -x "$CS_WINESERVER" ] || CS_WINESERVER=$(command -v wineserver64 || command -v wineserver)

cs_runs_32bit() {
  local answer
  if [ ! -x "$CS_WINE32" ]; then
    CS_NO_32BIT_REASON="no 32-bit Wine loader at $CS_WINE32 (package wine32:i386)"
    return 1
  fi
  # A kernel without 32-bit support refuses the loader itself.
  if ! answer=$("$CS_WINE32" --version 2>&1) || [[ "$answer" != wine-* ]]; then
    CS_NO_32BIT_REASON="this kernel cannot run the 32-bit Wine loader: ${answer:-no answer}"
    return 1
  fi
  return 0
}

cs_env_start() {
  local state=$1
  mkdir -p "$state"
  export WINEPREFIX="$state/wineprefix"
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  # A crashing program must fail its test, not wait in the debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d;${WINEDLLOVERRIDES:-}"
  export CS_WINE64 CS_WINE32 CS_WINESERVER

  if [ -z "${CS_USE_DISPLAY:-}" ]; then
    local n=97
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    CS_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi

  if [ ! -f "$WINEPREFIX/.cs-ready" ]; then
    # The prefix is made with an ordinary server, which ends by itself once
    # wineboot and regedit are done; waiting for a persistent one would never
    # end. A server left over from a half-made prefix goes first.
    "$CS_WINESERVER" -k >/dev/null 2>&1 || true
    "$CS_WINE64" wineboot -i >"$state/wineboot.log" 2>&1 </dev/null || true
    # Wine has no "Microsoft YaHei": a Chinese font from the distribution
    # stands in for it. Without a window manager, Wine waits 2 s on every
    # hidden or destroyed window unless it manages the windows itself.
    cat >"$state/prefix.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Microsoft YaHei"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"
REG
    "$CS_WINE64" regedit "$state/prefix.reg" >/dev/null 2>&1 </dev/null
    "$CS_WINESERVER" -w
    touch "$WINEPREFIX/.cs-ready"
  fi
  # It puts itself in the background once it listens.
  "$CS_WINESERVER" -p >/dev/null 2>&1 </dev/null
  # Wine links the user's Documents (and Desktop, Downloads...) to the Linux
  # home folder. The switch removes a settings file from Documents, and tests
  # and the demonstration create it there: each prefix keeps real folders of
  # its own, so that runs in other prefixes and the home folder are left alone.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
  # The prefix's service processes start with the first program and inherit
  # its output. Started here, detached, they cannot hold a test runner's
  # output pipe open (which would make it wait until the server ends).
  "$CS_WINE64" cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
}

cs_env_stop() {
  "$CS_WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "${CS_XVFB_PID:-}" ]; then
    kill "$CS_XVFB_PID" 2>/dev/null || true
    wait "$CS_XVFB_PID" 2>/dev/null || true
  fi
}
