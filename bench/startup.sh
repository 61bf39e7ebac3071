#!/bin/bash
# Start-up time under Wine: from starting the installer (in the sample
# distribution folder) to its first message box, the new-install notice,
# against a bare program that only shows a message box; both in one run, in
# turn, ROUNDS times each (default 15). Prints both medians and their ratio,
# and the ratio against the same bare program carrying the installer's manifest
# (common controls 6, per-monitor DPI awareness), whose start costs every
# program that has it.
#   bench/startup.sh [BUILD_DIR]   (default: the build of the Wine path that scripts/wine-env chooses)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=/dev/null
source "$root/scripts/wine-env" "${WINEPREFIX:-}" >/dev/null
build="${1:-$KELVORA_BUILD}"
for f in "$build/bench/startup_timer.exe" "$build/bench/bare_box.exe" "$build/bench/bare_box_styled.exe" \
         "$build/bin/KelvoraInstall.exe"; do
  [ -f "$f" ] || { echo "startup.sh: $f is missing (build the $KELVORA_PRESET preset first)" >&2; exit 1; }
done
KELVORA_OWN_DISPLAY=1 kelvora_start_xvfb
kelvora_start_wineserver
work="$(mktemp -d /tmp/kelvora-startup.XXXXXX)"
trap 'kelvora_stop; rm -rf "$work"' EXIT
"$root/scripts/make-dist" "$work/dist" "$build" >/dev/null
mkdir -p "$work/bare" "$work/styled"
cp "$build/bench/bare_box.exe" "$work/bare/"
cp "$build/bench/bare_box_styled.exe" "$work/styled/"
out=$(wine "$build/bench/startup_timer.exe" "${ROUNDS:-15}" "$(winepath -w "$work/dist/KelvoraInstall.exe")" \
        "$(winepath -w "$work/bare/bare_box.exe")" "$(winepath -w "$work/styled/bare_box_styled.exe")" | tr -d '\r')
echo "$out"
installer=$(grep 'KelvoraInstall.exe: median' <<<"$out" | sed 's/.*median \([0-9]*\) ms.*/\1/')
bare=$(grep 'bare_box.exe: median' <<<"$out" | sed 's/.*median \([0-9]*\) ms.*/\1/')
styled=$(grep 'bare_box_styled.exe: median' <<<"$out" | sed 's/.*median \([0-9]*\) ms.*/\1/')
awk -v a="$installer" -v b="$bare" -v c="$styled" -v arch="$KELVORA_WINE_ARCH" 'BEGIN {
  printf "installer %d ms, bare message box %d ms, ratio %.2f (%s-bit Wine; goal <= 1.20)\n", a, b, a / b, arch
  printf "the same box with the installer'"'"'s manifest %d ms: ratio %.2f\n", c, a / c
}'
