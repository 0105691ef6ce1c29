#!/usr/bin/env bash
# The benchmark command: builds what it needs, runs every benchmark under
# Wine on a virtual display with a warm prefix of its own, and prints one
# table, also written as Markdown to build/x86_64/bench/results.md (the
# benchmark programs' own log goes to build/x86_64/bench/bench.log).
# Every figure is a median of repeated runs beside a baseline measured in the
# same run. Repetitions can be changed through the environment:
#   CS_BENCH_STARTUP_RUNS (21), CS_BENCH_TICK_RUNS (15), CS_BENCH_PAINT_RUNS (301),
#   CS_BENCH_SWITCH_RUNS (5), CS_BENCH_IDLE_RUNS (3), CS_BENCH_IDLE_SECONDS (20)
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686
cmake --preset x86_64 -DCLASSICSWITCH_BENCH=ON >/dev/null
cmake --build --preset x86_64 --target benchmarks

out="$PWD/build/x86_64/bench"
bin="$out/bin"
program="$PWD/build/x86_64/ClassicSwitch.exe"
mkdir -p "$out"
log="$out/bench.log"
rows="$out/rows.md"
: >"$log"
: >"$rows"

. tools/wine-env.sh
cs_env_start "$PWD/build/x86_64/bench-env"
# Programs still running at the end are this script's own background jobs.
cleanup() {
  local pid
  for pid in $(jobs -p); do kill "$pid" 2>/dev/null || true; done
  cs_env_stop
}
trap cleanup EXIT

# Starts a Windows program in the background; its Linux process id is in $!.
start_windows() {
  "$CS_WINE64" "$@" >>"$log" 2>&1 &
}

# Ends a process started by this script, by its id.
stop_process() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Processes of this benchmark's Wine prefix whose command line contains a text
# (programs that the measured programs started themselves).
prefix_processes_with() {
  local pid
  for pid in $(pgrep -f -- "$1" || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
}

# The wineserver of this prefix.
prefix_wineserver() {
  local pid
  for pid in $(pgrep -x wineserver64 || true) $(pgrep -x wineserver || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
}

# CPU milliseconds that all threads of a process have used so far.
cpu_ms() {
  cat /proc/"$1"/task/*/sched 2>/dev/null | awk '/se.sum_exec_runtime/ { total += $3 } END { printf "%.3f", total }'
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

windows_path() {
  local p=$1
  echo "Z:${p//\//\\}"
}

# A warm prefix: the keeper holds the Wine desktop open for the whole run.
start_windows "$bin/keeper.exe"
sleep 2

echo "Start-up..." >&2
"$CS_WINE64" "$bin/startup_probe.exe" "${CS_BENCH_STARTUP_RUNS:-21}" 2>>"$log" | tr -d '\r' >>"$rows"
echo "Ticks..." >&2
"$CS_WINE64" "$bin/tick_bench.exe" "${CS_BENCH_TICK_RUNS:-15}" 2>>"$log" | tr -d '\r' >>"$rows"
echo "Paint..." >&2
"$CS_WINE64" "$bin/paint_bench.exe" "${CS_BENCH_PAINT_RUNS:-301}" 2>>"$log" | tr -d '\r' >>"$rows"
"$CS_WINE64" "$bin/paint_profile.exe" 201 2>>"$log" >/dev/null
echo "Milestones..." >&2
"$CS_WINE64" "$bin/switch_milestones.exe" "${CS_BENCH_SWITCH_RUNS:-5}" 2>>"$log" | tr -d '\r' >>"$rows"

# Idle cost while an installer runs, after the animation has finished: the
# program against the bare popup that only walks the process list for the
# installer on the same 500 ms timer. CPU time of the process (all threads)
# and of the prefix's wineserver over the window, scaled to a minute.
echo "Idle cost and memory..." >&2
idle_runs=${CS_BENCH_IDLE_RUNS:-3}
idle_seconds=${CS_BENCH_IDLE_SECONDS:-20}
settle_seconds=7
work="$out/idle"
rm -rf "$work"
mkdir -p "$work/setup"
cp "$bin/stand_in.exe" "$work/setup/KorvaneSetup.exe"
wineserver=$(prefix_wineserver)
export CS_BENCH_LIFETIME_MS=$(((settle_seconds + idle_seconds + 30) * 1000))

# measure_idle <pid> <file>: appends "process-ms wineserver-ms peak-kB" per minute.
measure_idle() {
  local pid=$1 file=$2 p0 s0 t0 p1 s1 t1
  sleep "$settle_seconds"
  p0=$(cpu_ms "$pid"); s0=$(cpu_ms "$wineserver"); t0=$(date +%s.%N)
  sleep "$idle_seconds"
  p1=$(cpu_ms "$pid"); s1=$(cpu_ms "$wineserver"); t1=$(date +%s.%N)
  local peak
  peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
  awk -v p0="$p0" -v p1="$p1" -v s0="$s0" -v s1="$s1" -v t0="$t0" -v t1="$t1" -v peak="$peak" \
    'BEGIN { m = 60 / (t1 - t0); printf "%.1f %.1f %s\n", (p1 - p0) * m, (s1 - s0) * m, peak }' >>"$file"
}

: >"$work/program.txt"
: >"$work/baseline.txt"
: >"$work/popup-memory.txt"
for run in $(seq 1 "$idle_runs"); do
  start_windows "$program" --TempDir "$(windows_path "$work/setup")" --AppName KorvaneSetup.exe \
    --MiniName cs-bench-mini.exe --GalleryName cs-bench-gallery.exe --LocalPath "$(windows_path "$work/install")"
  pid=$!
  measure_idle "$pid" "$work/program.txt"
  stop_process "$pid"
  for setup in $(prefix_processes_with KorvaneSetup.exe); do stop_process "$setup"; done

  start_windows "$work/setup/KorvaneSetup.exe"
  setup=$!
  start_windows "$bin/bare_popup.exe" --poll KorvaneSetup.exe
  pid=$!
  measure_idle "$pid" "$work/baseline.txt"
  stop_process "$pid"
  stop_process "$setup"

  start_windows "$bin/bare_popup.exe"
  pid=$!
  sleep 3
  awk '/VmHWM/ { print $2 }' "/proc/$pid/status" >>"$work/popup-memory.txt"
  stop_process "$pid"
done
unset CS_BENCH_LIFETIME_MS
cat "$work/program.txt" | sed 's/^/idle program (cpu ms\/min, wineserver ms\/min, peak kB): /' >>"$log"
cat "$work/baseline.txt" | sed 's/^/idle baseline (cpu ms\/min, wineserver ms\/min, peak kB): /' >>"$log"

idle_row() {
  local what=$1 column=$2 p b
  p=$(awk -v c="$column" '{ print $c }' "$work/program.txt" | median)
  b=$(awk -v c="$column" '{ print $c }' "$work/baseline.txt" | median)
  awk -v what="$what" -v p="$p" -v b="$b" 'BEGIN {
    r = b > 0 ? p / b : 0;
    printf "| %s | %.3f | %.3f | %.2f | ratio <= 1.05 | %s |\n", what, p / 1000, b / 1000, r, (r <= 1.05 ? "yes" : "no") }'
}
idle_row "Idle while the installer runs: CPU s per minute, the process" 1 >>"$rows"
idle_row "Idle while the installer runs: CPU s per minute, the wineserver" 2 >>"$rows"

memory_program=$(awk '{ print $3 }' "$work/program.txt" | median)
memory_popup=$(median <"$work/popup-memory.txt")
awk -v p="$memory_program" -v b="$memory_popup" 'BEGIN {
  r = p / b;
  printf "| Memory: peak resident size while the window shows (MB) | %.1f | %.1f | %.2f | ratio <= 1.3 | %s |\n",
    p / 1024, b / 1024, r, (r <= 1.3 ? "yes" : "no") }' >>"$rows"

# Size and imports of both builds.
for arch in i686 x86_64; do
  exe="$PWD/build/$arch/ClassicSwitch.exe"
  bytes=$(stat -c %s "$exe")
  imports=$("$arch-w64-mingw32-objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort -fu | paste -sd ' ')
  target="-"
  met="-"
  if [ "$arch" = i686 ]; then
    target="<= 150 KB"
    met=$([ "$bytes" -le $((150 * 1024)) ] && echo yes || echo no)
  fi
  awk -v a="$arch" -v b="$bytes" -v t="$target" -v m="$met" \
    'BEGIN { printf "| Size: %s ClassicSwitch.exe (KB) | %.1f | - | - | %s | %s |\n", a, b / 1024, t, m }' >>"$rows"
  echo "| DLL imports: $arch ClassicSwitch.exe | $imports | - | - | - | - |" >>"$rows"
done

{
  echo "# ClassicSwitch benchmarks"
  echo
  echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $("$CS_WINE64" --version) on a virtual display."
  echo "Medians of repeated runs; the baseline is measured in the same run (bare popup of the same size and"
  echo "styles painting one colour with GDI; bare Toolhelp walk with the same ASCII case folding; the bare"
  echo "popup walking for the installer on the same 500 ms timer; the nominal course of the switch)."
  echo
  echo "| Measure | ClassicSwitch | Baseline | Ratio | Target | Met |"
  echo "|---|---|---|---|---|---|"
  grep '^| ' "$rows"
} >"$out/results.md"
cat "$out/results.md"
