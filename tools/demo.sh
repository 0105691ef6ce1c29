#!/usr/bin/env bash
# The demonstration: installs what is missing, builds, and runs ClassicSwitch
# under Wine on a virtual display (or on your own display when DISPLAY is
# set), saves a screenshot of its window and ends it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64 --target ClassicSwitch

[ -n "${DISPLAY:-}" ] && export CS_USE_DISPLAY=1
. tools/wine-env.sh
state="$PWD/build/x86_64/demo"
cs_env_start "$state"
trap cs_env_stop EXIT

shots="$state/screenshots"
mkdir -p "$shots"
"$CS_WINE64" build/x86_64/ClassicSwitch.exe --TempDir 'C:\demo\no-installer' --AppName Setup.exe \
  --MiniName Mini.exe --GalleryName Gallery.exe --LocalPath 'C:/demo/Classic' &
program=$!
sleep 1.5
import -window root -crop 460x154+730+463 "$shots/window.png"
echo "Screenshot: $shots/window.png"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
