#!/usr/bin/env bash
# Screenshots of the progress window for people to look at:
#   tools/screenshot.sh [scale...]        (default: 1 1.5)
# Starts the shipped build/i686/ClassicSwitch.exe (built beforehand; this
# script builds nothing) under the 32-bit Wine loader on a virtual display once
# per scale, waits for the window to settle, saves
# build/screenshots/window-<scale>x.png cropped around the centred window, and
# ends the program.
set -euo pipefail
cd "$(dirname "$0")/.."

program="$PWD/build/i686/ClassicSwitch.exe"
[ -f "$program" ] || { echo "missing $program: build the i686 preset first" >&2; exit 1; }
scales=("$@")
((${#scales[@]})) || scales=(1 1.5)
out="$PWD/build/screenshots"
mkdir -p "$out"

. tools/wine-env.sh
cs_runs_32bit || { echo "this machine cannot run the shipped 32-bit program: $CS_NO_32BIT_REASON" >&2; exit 1; }
cs_env_start "$PWD/build/screenshot-env"
work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  cs_env_stop
  rm -rf "$work"
}
trap cleanup EXIT

# The switch waits while a process named like the installer runs. Naming the
# installer explorer.exe (the Wine desktop runs under that name while any
# window is open) keeps the window up for the shot. The "installer" itself is
# a copy of the program, which ends at once without its five names.
cp "$program" "$work/explorer.exe"
work_win="Z:${work//\//\\}"

for scale in "${scales[@]}"; do
  "$CS_WINE32" "$program" --TempDir "$work_win" --AppName explorer.exe \
    --MiniName cs-shot-mini.exe --GalleryName cs-shot-gallery.exe \
    --LocalPath "$work_win\\classic" --Scale "$scale" >/dev/null 2>&1 &
  pid=$!
  sleep 1.5
  # The window is 420 by 114 pixels times the scale, centred on the
  # 1920x1080 display; keep a margin around it.
  geometry=$(awk -v s="$scale" 'BEGIN {
    w = int(420 * s); h = int(114 * s); m = 24;
    x = int((1920 - w) / 2) - m; y = int((1080 - h) / 2) - m;
    printf "%dx%d+%d+%d", w + 2 * m, h + 2 * m, x, y }')
  file="$out/window-${scale}x.png"
  import -display "$DISPLAY" -window root -crop "$geometry" +repage "$file"
  echo "$file"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
done
