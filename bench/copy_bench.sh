#!/bin/bash
# Copy speed of CopyFolder against Wine's xcopy /E and Linux cp -a, on one
# tree (by default 10 000 files and 1 GiB), in one run. Prints the times and ratios.
#   bench/copy_bench.sh [BUILD_DIR]
# BUILD_DIR is a MinGW build folder holding bench/copy_folder.exe (default: the
# build of the Wine path that scripts/wine-env chooses); ROUNDS (default 3)
# sets how often each copy runs; FILES (default 10000) and MIB (default 1024)
# make a smaller or larger tree. Each copy is timed with the sync that puts it
# on disk; the source is read once first so that all start from a warm cache.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=/dev/null
source "$root/scripts/wine-env" "${WINEPREFIX:-}" >/dev/null
build="${1:-$KELVORA_BUILD}"
kelvora_start_xvfb
kelvora_start_wineserver
bench="$WINEPREFIX/drive_c/kelvora-bench"
cleanup() { rm -rf "$bench"; kelvora_stop; }
trap cleanup EXIT

rm -rf "$bench"; mkdir -p "$bench/src"
files="${FILES:-10000}"
mib="${MIB:-1024}"
# Folders of 100 files; sizes vary around the mean so the total is MIB MiB
# (with the defaults 100 folders, about 107 374 bytes a file, 1 GiB).
python3 - "$bench/src" "$files" "$mib" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(7)
block = os.urandom(1 << 20)
total, files = int(sys.argv[3]) << 20, int(sys.argv[2])
base = total // files
left = total
for i in range(files):
    size = left if i == files - 1 else base + rng.randint(-base // 2, base // 2)
    size = max(0, min(size, left - (files - 1 - i)))
    left -= size
    d = os.path.join(root, "d%03d" % (i // 100))
    os.makedirs(d, exist_ok=True)
    off = rng.randrange(0, len(block))
    data = (block[off:] + block) * (size // len(block) + 1)
    with open(os.path.join(d, "f%05d.bin" % i), "wb") as f:
        f.write(data[:size])
PY
sync
echo "tree: $(find "$bench/src" -type f | wc -l) files, $(du -sb "$bench/src" | cut -f1) bytes"
cat "$bench"/src/*/* >/dev/null

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# Each copier writes a fresh target, is timed with the sync that puts it on
# disk, is checked, and its target is removed again.
run_copyfolder() {
  local t0 t1
  t0=$(now)
  local status=0
  wine ./bench/copy_folder.exe 'C:\kelvora-bench\src' 'C:\kelvora-bench\copyfolder' >"$bench/copyfolder.log" 2>&1 ||
    status=$?
  sync; t1=$(now)
  [ "$status" -eq 0 ] || { cat "$bench/copyfolder.log" >&2; exit 1; }
  diff -r "$bench/src" "$bench/copyfolder" >/dev/null || { echo "CopyFolder copy differs" >&2; exit 1; }
  rm -rf "$bench/copyfolder"; sync
  elapsed "$t0" "$t1"
}
run_xcopy() {
  local t0 t1 n
  t0=$(now)
  wine xcopy /E /I /H /Y /Q 'C:\kelvora-bench\src' 'C:\kelvora-bench\xcopy' >/dev/null 2>&1
  sync; t1=$(now)
  n=$(find "$bench/xcopy" -type f | wc -l)
  [ "$n" = "$files" ] || { echo "xcopy copied $n files" >&2; exit 1; }
  rm -rf "$bench/xcopy"; sync
  elapsed "$t0" "$t1"
}
run_cp() {
  local t0 t1
  t0=$(now)
  cp -a "$bench/src" "$bench/cp"
  sync; t1=$(now)
  rm -rf "$bench/cp"; sync
  elapsed "$t0" "$t1"
}

# The disk is shared and its write-back varies from minute to minute: every
# round runs all three, in a rotated order, and the best time of each counts.
rounds="${ROUNDS:-3}"
names=(copyfolder xcopy cp)
declare -A best
cd "$build"
for ((r = 0; r < rounds; r++)); do
  line="round $((r + 1)):"
  for ((i = 0; i < 3; i++)); do
    name=${names[$(((i + r) % 3))]}
    t=$("run_$name")
    line+=" $name ${t} s"
    if [ -z "${best[$name]:-}" ] || awk -v a="$t" -v b="${best[$name]}" 'BEGIN { exit !(a < b) }'; then best[$name]=$t; fi
  done
  echo "$line"
done

cf=${best[copyfolder]}; xc=${best[xcopy]}; cp=${best[cp]}
echo "best of $rounds:"
echo "CopyFolder:  ${cf} s"
echo "xcopy /E:    ${xc} s"
echo "cp -a:       ${cp} s"
awk -v cf="$cf" -v xc="$xc" -v cp="$cp" 'BEGIN {
  printf "speed of CopyFolder relative to xcopy: %.2f x (goal >= 0.95)\n", xc / cf
  printf "speed of CopyFolder relative to cp -a: %.2f x\n", cp / cf
}'
