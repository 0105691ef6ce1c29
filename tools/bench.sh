#!/usr/bin/env bash
# The benchmark command: builds what it needs, measures the shipped 32-bit
# ClassicSwitch.exe (and the program's own code, linked into 32-bit
# benchmark programs) under the 32-bit Wine loader on a virtual display, in a
# prefix of its own, and prints one table.
#   tools/bench.sh           the table; exit status 0 unless it cannot run
#   tools/bench.sh --check   the same, and exit status 1 when a row's whole
#                            spread lies beyond its target, a row could not be
#                            measured, or a step failed; noise alone passes
# Every row with a baseline is measured in pairs, program and baseline back to
# back in alternating order (A B, B A, ...), so that a change in the machine's
# load falls on both; the ratio is the median of the pairs' ratios, and the
# spread (10th to 90th percentile) says how far one pair can stray. See
# bench/scripts/bench_table.py for the verdict.
# Output, under the build folder's bench/ (build/i686-tests/bench/):
#   results.md   the table with its header (date, machine, load averages)
#   samples.tsv  every single measurement
#   bench.log    the benchmark programs' own log (per-pair lines, paint steps)
# Repetitions can be changed through the environment:
#   CS_BENCH_STARTUP_PAIRS (21), CS_BENCH_COLD_PAIRS (12), CS_BENCH_TICK_PAIRS (21),
#   CS_BENCH_PAINT_PAIRS (301), CS_BENCH_SWITCH_RUNS (5), CS_BENCH_IDLE_PAIRS (4),
#   CS_BENCH_IDLE_SECONDS (15)
set -euo pipefail
cd "$(dirname "$0")/.."

check=
for argument in "$@"; do
  case $argument in
    --check) check=--check ;;
    *) echo "usage: tools/bench.sh [--check]" >&2; exit 2 ;;
  esac
done

began=$SECONDS
tools/install-deps.sh
. tools/wine-env.sh

# The shipped program, then the benchmark programs of the same architecture.
cmake --preset i686 >/dev/null
cmake --build --preset i686
if cs_runs_32bit; then
  arch=i686
  preset=i686-tests
  wine=$CS_WINE32
  program="$PWD/build/i686/ClassicSwitch.exe"
  cmake --preset "$preset" >/dev/null
  measured="the shipped 32-bit build/i686/ClassicSwitch.exe under $wine, in a prefix made by wine64 (WoW64); benchmark programs 32-bit"
else
  # Loud, in the output and in the table: these figures are not the shipped
  # program's.
  arch=x86_64
  preset=x86_64
  wine=$CS_WINE64
  program="$PWD/build/x86_64/ClassicSwitch.exe"
  cmake --preset "$preset" -DCLASSICSWITCH_BENCH=ON >/dev/null
  measured="THE 64-BIT BUILD build/x86_64/ClassicSwitch.exe, NOT THE SHIPPED 32-BIT PROGRAM ($CS_NO_32BIT_REASON)"
  echo "WARNING: this machine cannot run the shipped 32-bit program: $CS_NO_32BIT_REASON" >&2
  echo "WARNING: measuring the 64-bit build instead; these figures are not the shipped program's." >&2
fi
cmake --build --preset "$preset" --target benchmarks
build="$PWD/build/$preset"

out="$build/bench"
bin="$out/bin"
mkdir -p "$out"
log="$out/bench.log"
samples="$out/samples.tsv"
: >"$log"
: >"$samples"

cs_env_start "$out/env"
# Programs still running at the end are this script's own background jobs.
cleanup() {
  local pid
  for pid in $(jobs -p); do kill "$pid" 2>/dev/null || true; done
  cs_env_stop
}
trap cleanup EXIT

# Starts a Windows program in the background; its Linux process id is in $!.
start_windows() {
  "$wine" "$@" >>"$log" 2>&1 &
}

# Ends a process started by this script, by its id.
stop_process() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# run_step <name> <command...>: the command's sample lines go to the samples;
# a step that fails is recorded there too, so that the table and the check
# say so.
run_step() {
  local name=$1 status=0 from=$SECONDS
  shift
  echo "$name..." >&2
  "$@" 2>>"$log" | tr -d '\r' >>"$samples" || status=$?
  if ((status)); then
    printf 'failed\t%s\texit status %s (see %s)\n' "$name" "$status" "$log" >>"$samples"
    echo "$name FAILED with exit status $status (see $log)" >&2
  fi
  echo "  $name: $((SECONDS - from)) s" >&2
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

windows_path() {
  local p=$1
  echo "Z:${p//\//\\}"
}

load_average() {
  cut -d' ' -f1-3 /proc/loadavg
}

# A warm prefix: the keeper holds the Wine desktop open until the cold starts.
start_windows "$bin/keeper.exe"
keeper=$!
sleep 2

load_before=$(load_average)
measuring_began=$SECONDS
echo "Load average before: $load_before" >&2

run_step "Start-up, warm" "$wine" "$bin/startup_probe.exe" "${CS_BENCH_STARTUP_PAIRS:-21}"
run_step "Ticks" "$wine" "$bin/tick_bench.exe" "${CS_BENCH_TICK_PAIRS:-21}"
run_step "Paint" "$wine" "$bin/paint_bench.exe" "${CS_BENCH_PAINT_PAIRS:-301}"
# Where a paint's time goes, step by step: for the log only.
"$wine" "$bin/paint_profile.exe" 201 2>>"$log" >/dev/null || echo "paint profile failed (see $log)" >&2
run_step "Milestones" "$wine" "$bin/switch_milestones.exe" "${CS_BENCH_SWITCH_RUNS:-5}"

# Idle cost while an installer runs, after the animation has finished: the
# program paired with the bare popup that only walks the process list for the
# installer on the same 500 ms timer. CPU time of the process (all threads)
# and of the prefix's wineserver over the window, scaled to a minute, and the
# process's peak resident size.
idle_step() {
  local pairs=${CS_BENCH_IDLE_PAIRS:-4} idle_seconds=${CS_BENCH_IDLE_SECONDS:-15}
  local work="$out/idle" wineserver pair program_result baseline_result
  rm -rf "$work"
  mkdir -p "$work/setup"
  cp "$bin/stand_in.exe" "$work/setup/KorvaneSetup.exe"
  wineserver=$(prefix_wineserver)
  [ -n "$wineserver" ] || { echo "no wineserver found for $WINEPREFIX" >&2; return 1; }
  export CS_BENCH_LIFETIME_MS=$(((7 + idle_seconds + 30) * 1000))

  # measure_idle <pid> <settle seconds>: "process-ms/min wineserver-ms/min peak-kB"
  measure_idle() {
    local pid=$1 p0 s0 t0 p1 s1 t1 peak
    sleep "$2"
    p0=$(cpu_ms "$pid"); s0=$(cpu_ms "$wineserver"); t0=$(date +%s.%N)
    sleep "$idle_seconds"
    p1=$(cpu_ms "$pid"); s1=$(cpu_ms "$wineserver"); t1=$(date +%s.%N)
    peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
    awk -v p0="$p0" -v p1="$p1" -v s0="$s0" -v s1="$s1" -v t0="$t0" -v t1="$t1" -v peak="$peak" \
      'BEGIN { m = 60 / (t1 - t0); printf "%.1f %.1f %s\n", (p1 - p0) * m, (s1 - s0) * m, peak }'
  }
  # The program starts the installer itself; its animation ends at about 5.5 s.
  idle_program() {
    local pid setup
    start_windows "$program" --TempDir "$(windows_path "$work/setup")" --AppName KorvaneSetup.exe \
      --MiniName cs-bench-mini.exe --GalleryName cs-bench-gallery.exe --LocalPath "$(windows_path "$work/install")"
    pid=$!
    measure_idle "$pid" 7 >"$work/last"
    stop_process "$pid"
    for setup in $(prefix_processes_with KorvaneSetup.exe); do stop_process "$setup"; done
    program_result=$(cat "$work/last")
  }
  idle_baseline() {
    local pid setup
    start_windows "$work/setup/KorvaneSetup.exe"
    setup=$!
    start_windows "$bin/bare_popup.exe" --poll KorvaneSetup.exe
    pid=$!
    measure_idle "$pid" 2 >"$work/last"
    stop_process "$pid"
    stop_process "$setup"
    baseline_result=$(cat "$work/last")
  }

  printf 'row\tidle.process\tIdle while the installer runs: CPU ms per minute, the process\tratio\t1.05\tms\t0\t-\n'
  printf 'row\tidle.wineserver\tIdle while the installer runs: CPU ms per minute, the wineserver\tratio\t1.05\tms\t0\t-\n'
  printf 'row\tmemory.peak\tMemory: peak resident size while the window shows (MB)\tratio\t1.3\tMB\t1\t-\n'
  for pair in $(seq 0 $((pairs - 1))); do
    if ((pair % 2 == 0)); then idle_program; idle_baseline; else idle_baseline; idle_program; fi
    echo "idle pair $pair: program $program_result, baseline $baseline_result (cpu ms/min, wineserver ms/min, peak kB)" >&2
    read -r pp ps pm <<<"$program_result"
    read -r bp bs bm <<<"$baseline_result"
    printf 'sample\tidle.process\t%s\t%s\n' "$pp" "$bp"
    printf 'sample\tidle.wineserver\t%s\t%s\n' "$ps" "$bs"
    printf 'sample\tmemory.peak\t%s\t%s\n' "$(awk -v k="$pm" 'BEGIN { print k / 1024 }')" \
      "$(awk -v k="$bm" 'BEGIN { print k / 1024 }')"
  done
  unset CS_BENCH_LIFETIME_MS
}
run_step "Idle cost and memory" idle_step

# Cold starts need a prefix whose server is not running: the keeper and the
# persistent server go first, and the script ends the server before every start.
stop_process "$keeper"
"$CS_WINESERVER" -k >/dev/null 2>&1 || true
"$CS_WINESERVER" -w >/dev/null 2>&1 || true
run_step "Start-up, cold" python3 bench/scripts/cold_start.py "${CS_BENCH_COLD_PAIRS:-12}" "$wine" "$CS_WINESERVER" \
  "$program" "$bin/bare_popup.exe"

# Size and imports of the shipped program.
size_step() {
  local exe="$PWD/build/i686/ClassicSwitch.exe" bytes imports
  bytes=$(stat -c %s "$exe")
  imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort -fu | paste -sd ' ')
  printf 'row\tsize.i686\tSize: i686 ClassicSwitch.exe (KB)\tvalue\t150\tKB\t1\t-\n'
  printf 'sample\tsize.i686\t%s\t-\n' "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')"
  printf 'note\timports.i686\tDLL imports: i686 ClassicSwitch.exe\t%s\n' "$imports"
}
run_step "Size" size_step

load_after=$(load_average)
echo "Load average after: $load_after" >&2
measuring_took=$((SECONDS - measuring_began))

table_status=0
python3 bench/scripts/bench_table.py $check "$samples" >"$out/table.md" || table_status=$?
{
  echo "# ClassicSwitch benchmarks"
  echo
  echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $("$CS_WINE64" --version) on a virtual display."
  echo "Measured: $measured."
  echo "Load average (1, 5, 15 minutes): $load_before before, $load_after after; measuring took $measuring_took s."
  echo "Figures are medians. A row with a baseline is measured in pairs, program and baseline back to back in"
  echo "alternating order; its ratio is the median of the pairs' ratios. The spread is the 10th to 90th"
  echo "percentile of what the row is judged by: the pair ratios, the values, or each pair's distance between"
  echo "program and baseline (deviation) or excess of the program over it (extra). Met: \"yes\" when the whole"
  echo "spread meets the target, \"no\" when the whole spread misses it, \"within noise\" when the target lies"
  echo "inside the spread (README, Performance)."
  echo
  cat "$out/table.md"
} >"$out/results.md"
cat "$out/results.md"
echo >&2
echo "The whole command took $((SECONDS - began)) s; the table is in $out/results.md" >&2
exit "$table_status"
