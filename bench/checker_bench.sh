#!/bin/bash
# kelvora-check on a distribution folder whose product folder holds 10 000
# files in 100 sub-folders (small files: the checker lists and sizes them, it
# never reads them). Prints the wall time of each run and the best of five.
#   bench/checker_bench.sh [NATIVE_BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/native}"
checker="$build/src/tools/kelvora-check/kelvora-check"
[ -x "$checker" ] || { echo "no $checker; build the native preset first" >&2; exit 1; }

dist="$(mktemp -d /tmp/kelvora-check-bench-XXXXXX)"
trap 'rm -rf "$dist"' EXIT
python3 - "$dist" <<'PY'
import os, sys
root = sys.argv[1]
product = os.path.join(root, "VORN6")
for i in range(10000):
    d = os.path.join(product, "d%03d" % (i // 100))
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "f%05d.dat" % i), "wb") as f:
        f.write(b"x" * (i % 997))
for name in ("VORN6.exe", "Kelvora.ico", "Kelvora_Auth.exe"):
    open(os.path.join(product, name), "wb").write(b"MZ")
open(os.path.join(root, "license.txt"), "wb").write(b"terms\r\n")
open(os.path.join(root, "Information.txt"), "wb").write(
    b"\xef\xbb\xbf[Caption]\r\nAppCaption=Bench\r\n[Application]\r\nFolderName=C:\\Bench\r\n")
PY

"$checker" "$dist" >/dev/null || true  # warm the directory cache
best=""
for run in 1 2 3 4 5; do
    start=$(date +%s.%N)
    "$checker" "$dist" --json >/dev/null || true
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc -l)
    printf 'run %d: %.3f s\n' "$run" "$t"
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc -l)" = 1 ]; then best=$t; fi
done
files=$("$checker" "$dist" --json | python3 -c 'import json,sys; print(json.load(sys.stdin)["copy"]["files"])')
printf 'kelvora-check, %s product files: best %.3f s of 5 runs\n' "$files" "$best"
