#!/usr/bin/env bash
# Runs one test program (under the Wine loader given first) for ctest, which
# waits until its output pipe closes. Windows programs that a test starts
# inherit that pipe, and under Wine a program that was ended while it was
# starting another one can leave that one half-started for good: the pipe
# would then stay open and the test would end only at its timeout, though
# the test program itself had long finished. So the program writes to a file
# of its own, which is passed on to ctest once the program has ended.
#   run-test-program.sh <loader> <program> [arguments...]
set -uo pipefail
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
exit "$status"
