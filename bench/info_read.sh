#!/usr/bin/env bash
# Prints how long the installer's reader takes for a 10 MB information file
# (native, Release build of the reader).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$root/build/bench" bench_info_read >/dev/null
"$root/build/bench/bench_info_read" $((10 << 20)) 100000
"$root/build/bench/bench_info_read" $((10 << 20)) 10
