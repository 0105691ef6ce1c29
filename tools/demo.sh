#!/usr/bin/env bash
# The demonstration: one whole switch from the mini edition to the classic
# edition, with a real silent NSIS installer, under Wine.
#
# Installs what is missing, builds ClassicSwitch and the stand-ins it needs,
# and then, in a Wine prefix of its own (build/demo) on a virtual display (or
# on your own display when DISPLAY is set), with the shipped 32-bit
# build/i686/ClassicSwitch.exe under the 32-bit Wine loader and a 32-bit
# installer, as on users' machines:
#   - puts the installer at C:\ClassicSwitch demo\Downloads\Korvane Setup.exe
#     (it installs the stand-in classic edition as Korvane.exe),
#   - starts stand-ins of the mini edition and the gallery program,
#   - creates the settings file Documents\Ovrillo\TempFile_S.ini,
#   - runs ClassicSwitch.exe as the mini edition would,
# prints a timeline from the program's trace and then the run's own log (its
# path and content), saves screenshots of its window in build/demo/screenshots,
# and exits 0 only when the classic edition runs from the installation folder
# and ClassicSwitch ended with exit code 0.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
. tools/wine-env.sh
if cs_runs_32bit; then
  cmake --preset i686 >/dev/null
  cmake --build --preset i686
  cmake --preset i686-tests >/dev/null
  cmake --build --preset i686-tests --target gui_idle korvane_setup
  program=build/i686/ClassicSwitch.exe
  programs=build/i686-tests/test-programs
  loader=$CS_WINE32
else
  echo "NOTE: this machine cannot run the shipped 32-bit program ($CS_NO_32BIT_REASON);" \
    "the demonstration runs its 64-bit twin instead." >&2
  cmake --preset x86_64 >/dev/null
  cmake --build --preset x86_64 --target ClassicSwitch gui_idle korvane_setup
  program=build/x86_64/ClassicSwitch.exe
  programs=build/x86_64/test-programs
  loader=$CS_WINE64
fi

[ -n "${DISPLAY:-}" ] && export CS_USE_DISPLAY=1
state="$PWD/build/demo"
cs_env_start "$state"

editions=()
cleanup() {
  local pid
  for pid in "${editions[@]}"; do kill "$pid" 2>/dev/null || true; done
  cs_env_stop
}
trap cleanup EXIT

wine() { "$CS_WINE64" "$@" 2>/dev/null </dev/null | tr -d '\r'; }
unix_path() { wine winepath -u "$1"; }

demo_dir='C:\ClassicSwitch demo'
installer_dir="$demo_dir\\Downloads"
app_name='Korvane Setup.exe'
mini_name='KorvaneMini.exe'
gallery_name='KorvaneGallery.exe'
install_dir='C:\Program Files\Korvane'
shots="$state/screenshots"
trace_log="$state/trace.log"

# A fresh scene: the installer, the two editions' stand-ins, no earlier
# installation, and the settings file where the program looks for it.
demo_unix=$(unix_path "$demo_dir")
install_unix=$(unix_path "$install_dir")
rm -rf "$demo_unix" "$install_unix" "$shots"
mkdir -p "$demo_unix/Downloads" "$demo_unix/Editions" "$shots"
cp "$programs/korvane_setup.exe" "$demo_unix/Downloads/$app_name"
cp "$programs/gui_idle.exe" "$demo_unix/Editions/$mini_name"
cp "$programs/gui_idle.exe" "$demo_unix/Editions/$gallery_name"

documents=$(wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Personal |
  sed -n 's/^ *Personal *REG_SZ *//p')
[ -n "$documents" ] || documents="$(wine cmd /c echo %USERPROFILE%)\\Documents"
settings="$documents\\Ovrillo\\TempFile_S.ini"
settings_unix=$(unix_path "$settings")
mkdir -p "$(dirname "$settings_unix")"
printf '[Settings]\r\n' >"$settings_unix"

# The editions live for a minute unless someone ends them; their own end is
# exit code 7.
declare -A edition_pid
for name in "$mini_name" "$gallery_name"; do
  "$loader" "$demo_dir\\Editions\\$name" 60000 >/dev/null 2>&1 </dev/null &
  edition_pid[$name]=$!
  editions+=($!)
done
sleep 1

# The window is 420 by 114 pixels, centred on the screen.
screen=$(xdpyinfo -display "$DISPLAY" 2>/dev/null | awk '/dimensions:/ { print $2 }')
screen_w=${screen%x*}
screen_h=${screen#*x}
crop="$((420 + 48))x$((114 + 48))+$(((${screen_w:-1920} - 420) / 2 - 24))+$(((${screen_h:-1080} - 114) / 2 - 24))"
# Shots while the editions are closed, while the installer works, and about
# when the classic edition starts; each named by its time after the start.
take_shots() {
  local pause ms
  for pause in 0.6 1.0 1.0; do
    sleep "$pause"
    ms=$((($(date +%s%N) - started) / 1000000))
    import -display "$DISPLAY" -window root -crop "$crop" +repage "$shots/window-at-${ms}ms.png" 2>/dev/null || true
  done
}

# The run's log goes to %TEMP%\ClassicSwitch of the prefix's user.
temp_dir=$(wine cmd /c echo %TEMP%)
log_dir_unix=$(unix_path "$temp_dir\\ClassicSwitch")

echo "Switching with $program: $app_name installs into $install_dir"
started=$(date +%s%N)
touch "$state/switch-started"
# The trace goes to the debugger output; Wine copies it to its own log on
# the channel of OutputDebugStringA ("seh" in Wine 8, "debugstr" elsewhere).
WINEDEBUG=-all,warn+seh,+debugstr "$loader" "$program" \
  --TempDir "$installer_dir" --AppName "$app_name" --MiniName "$mini_name" --GalleryName "$gallery_name" \
  --LocalPath 'C:/Program Files/Korvane' 2>"$trace_log" </dev/null &
switcher=$!
take_shots &
shooter=$!
for _ in $(seq 1 600); do kill -0 "$switcher" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$switcher" 2>/dev/null; then
  echo "ClassicSwitch did not end within a minute" >&2
  kill "$switcher" 2>/dev/null || true
fi
switcher_code=0
wait "$switcher" || switcher_code=$?
wall_ms=$((($(date +%s%N) - started) / 1000000))
wait "$shooter" 2>/dev/null || true

# Trace lines as Wine logs them: OutputDebugStringA "ClassicSwitch +<ms> ms: <event>\n",
# with backslashes and quotes escaped.
trace=$(grep -a 'OutputDebugStringA "ClassicSwitch +' "$trace_log" |
  sed -e 's/^.*OutputDebugStringA "ClassicSwitch +//' -e 's/\\n"$//' -e 's/\\"/"/g' -e 's/\\\\/\\/g' || true)

echo
echo "Timeline (ms from the window's creation):"
while IFS= read -r line; do
  [ -n "$line" ] || continue
  ms=${line%% ms: *}
  event=${line#* ms: }
  case "$event" in
    "ending: "*) what="edition asked to end: ${event#ending: }" ;;
    "process ended: "*) what="  process ${event#process ended: } ended" ;;
    "settings removed: "*) what="settings file removed: ${event#settings removed: }" ;;
    "installer started: "*) what="installer started: ${event#installer started: }" ;;
    "installer ended: "*) what="installer ended: ${event#installer ended: }" ;;
    "classic started: "*) what="classic edition started: ${event#classic started: }" ;;
    "quitting in 500 ms: classic edition running") what="classic edition running" ;;
    "quit: "*) what="switcher ends (${event#quit: })" ;;
    *) what="$event" ;;
  esac
  printf '%8s  %s\n' "+$ms" "$what"
done <<<"$trace"
[ -n "$trace" ] || echo "  (no trace seen in $trace_log)"
printf '%8s  %s\n' "" "switcher ended with exit code $switcher_code ($wall_ms ms after its start)"

# This run's log: the newest in the folder, written since the start.
log_file=$(find "$log_dir_unix" -maxdepth 1 -type f -name 'ClassicSwitch-*.log' -newer "$state/switch-started" \
  -printf '%T@ %p\n' 2>/dev/null | sort -n | tail -n 1 | cut -d' ' -f2- || true)
echo
if [ -n "$log_file" ]; then
  echo "Log of the run: $temp_dir\\ClassicSwitch\\$(basename "$log_file")"
  sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' -e 's/^/  /' "$log_file"
else
  echo "Log of the run: none found in $temp_dir\\ClassicSwitch"
fi

echo
for name in "$mini_name" "$gallery_name"; do
  code=0
  if kill -0 "${edition_pid[$name]}" 2>/dev/null; then
    echo "$name: still running"
    continue
  fi
  wait "${edition_pid[$name]}" || code=$?
  echo "$name: ended with exit code $code$([ "$code" -eq 0 ] && echo ' (ended by the switcher)')"
done
[ -e "$settings_unix" ] && echo "settings file: still there" || echo "settings file: removed"

# The classic edition's stand-in records where it was started from, and runs
# for half a minute.
classic_record="$install_unix/classic_started.txt"
classic_path=$(tr -d '\r' <"$classic_record" 2>/dev/null | head -n 1 || true)
classic_running=no
for pid in $(pgrep -f 'Korvane\.exe' || true); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
    classic_running=yes
  fi
done
echo "classic edition: started as ${classic_path:-nothing}; running: $classic_running"
ls -v "$shots"/*.png 2>/dev/null | sed 's/^/screenshot: /'

if [ "$switcher_code" -eq 0 ] && [ "$classic_running" = yes ] &&
  [ "${classic_path,,}" = "${install_dir,,}\\korvane.exe" ]; then
  echo "Demonstration passed: Korvane.exe runs from $install_dir"
else
  echo "Demonstration FAILED" >&2
  exit 1
fi
