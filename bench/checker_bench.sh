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

python3 - "$checker" "$dist" <<'PY'
import json, subprocess, sys, time
checker, dist = sys.argv[1], sys.argv[2]
subprocess.run([checker, dist], stdout=subprocess.DEVNULL)  # warm the directory cache
times = []
for run in range(1, 6):
    start = time.perf_counter()
    subprocess.run([checker, dist, "--json"], stdout=subprocess.DEVNULL)
    times.append(time.perf_counter() - start)
    print("run %d: %.3f s" % (run, times[-1]))
report = json.loads(subprocess.run([checker, dist, "--json"], capture_output=True).stdout)
print("kelvora-check, %d product files: best %.3f s of 5 runs" % (report["copy"]["files"], min(times)))
PY
