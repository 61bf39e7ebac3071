#!/bin/bash
# Processor time spent while the installer waits for a further setup program,
# as it is and after a close was confirmed during the run: runs the two win32
# wait tests with a long-running sample program and samples the waiting
# process (and the prefix's wineserver) from /proc.
#   bench/wait_cpu.sh [BUILD_DIR] [WAIT_MS]
# BUILD_DIR is a MinGW build folder holding win32_tests.exe and fixtures/
# (default: the build of the Wine path that scripts/wine-env chooses).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
wait_ms="${2:-8000}"
# shellcheck source=/dev/null
source "$root/scripts/wine-env" "${WINEPREFIX:-}" >/dev/null
build="${1:-$KELVORA_BUILD}"
kelvora_start_xvfb
kelvora_start_wineserver
trap kelvora_stop EXIT

# The prefix's wineserver: its working folder is named after the prefix's device and inode.
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server_pid=""
for p in /proc/[0-9]*; do
  cwd=$(readlink "$p/cwd" 2>/dev/null || true)
  if [ "${cwd##*/}" = "$server_dir" ]; then
    server_pid=${p#/proc/}; break
  fi
done

ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
hz=$(getconf CLK_TCK)

cd "$build"
# measure LABEL TEST: runs one wait test and samples the waiting process from
# 1 s after its start to 1 s before the program ends.
rc=0
measure() {
  local label="$1" filter="$2" pid t0 t1 c0 c1 s0 s1 span
  KELVORA_WAIT_MS=$wait_ms wine ./win32_tests.exe --gtest_filter="$filter" >/tmp/kelvora-wait-cpu.$$ 2>&1 &
  pid=$!
  sleep 1
  t0=$(date +%s.%N); c0=$(ticks $pid); s0=${server_pid:+$(ticks "$server_pid")}
  span=$(awk -v w="$wait_ms" 'BEGIN { s = w / 1000 - 2; if (s < 1) s = 1; print s }')
  sleep "$span"
  t1=$(date +%s.%N); c1=$(ticks $pid); s1=${server_pid:+$(ticks "$server_pid")}
  wait $pid || rc=1
  echo "== $label"
  grep -E '^\[  (PASSED|FAILED) ' /tmp/kelvora-wait-cpu.$$ || true
  rm -f /tmp/kelvora-wait-cpu.$$
  awk -v c0="$c0" -v c1="$c1" -v s0="${s0:-0}" -v s1="${s1:-0}" -v t0="$t0" -v t1="$t1" -v hz="$hz" -v srv="${server_pid:-}" 'BEGIN {
    secs = t1 - t0
    printf "interval: %.2f s\n", secs
    printf "waiting process: %.2f %% of a core\n", 100 * (c1 - c0) / hz / secs
    if (srv != "") printf "wineserver:      %.2f %% of a core\n", 100 * (s1 - s0) / hz / secs
  }'
}

measure "the wait for a further setup" LaunchWin32.WaitKeepsTimersRunningAndEndsWithTheProgram
measure "the wait after a close was confirmed during the run" \
  LaunchWin32.AWaitAfterAConfirmedCloseStillSleepsAndEndsWithTheProgram
echo "goal: < 1 % of a core for the waiting process in each case"
exit $rc
