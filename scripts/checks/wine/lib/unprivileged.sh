# Wine lets root write read-only files, so checks that need the system to
# refuse such a write run their tests as the unprivileged user nobody, in a
# Wine prefix of that user's own (of the path scripts/wine-env chose).
# Sourced by those checks after scripts/wine-env; not a check itself (scripts/test
# runs only the executable files directly in scripts/checks/wine/).
#
#   unprivileged_prepare NAME      makes $unprivileged_home (/tmp/kelvora-NAME.*), owned
#                                  by nobody, and its prefix $unprivileged_prefix; removes
#                                  both and stops that prefix's wineserver on exit
#   unprivileged_run COMMAND...    runs COMMAND as nobody in that prefix; the array
#                                  unprivileged_env adds variables (NAME=value)
#   unprivileged_gtest CHECK FOLDER EXE FILTER TAIL
#                                  runs EXE --gtest_filter=FILTER as nobody in FOLDER,
#                                  prints GoogleTest's summary and "CHECK: OK"; fails
#                                  (with the last TAIL lines) unless exactly one test
#                                  passed and none was skipped

unprivileged_user=nobody
unprivileged_group=$(id -gn nobody 2>/dev/null || echo nogroup)
unprivileged_env=()

unprivileged_run() {
  setpriv --reuid="$unprivileged_user" --regid="$unprivileged_group" --clear-groups \
    env HOME="$unprivileged_home" WINEPREFIX="$unprivileged_prefix" WINEARCH="$WINEARCH" WINEDEBUG=-all PATH="$PATH" \
        ${WINELOADER:+WINELOADER="$WINELOADER"} \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" DISPLAY="${DISPLAY:-}" \
        LOCPATH="${LOCPATH:-}" LC_ALL="${LC_ALL:-C.UTF-8}" "${unprivileged_env[@]}" "$@"
}

unprivileged_prepare() {
  unprivileged_home="$(mktemp -d "/tmp/kelvora-$1.XXXXXX")"
  unprivileged_prefix="$unprivileged_home/prefix"
  trap 'unprivileged_run wineserver -k >/dev/null 2>&1 || true; rm -rf "$unprivileged_home"' EXIT
  chown -R "$unprivileged_user:$unprivileged_group" "$unprivileged_home"
  chmod 755 "$unprivileged_home"
  ( exec </dev/null >/dev/null 2>&1; unprivileged_run wineboot -i; unprivileged_run wineserver -w ) || true
}

unprivileged_gtest() {
  local check="$1" folder="$2" exe="$3" filter="$4" tail="$5" out
  out=$(cd "$folder" && unprivileged_run wine "$exe" --gtest_filter="$filter" --gtest_color=no 2>&1 || true)
  echo "$out" | grep -E '^\[  (PASSED|FAILED|SKIPPED) ' || true
  if echo "$out" | grep -q '^\[  PASSED  \] 1 test' && ! echo "$out" | grep -q 'SKIPPED'; then
    echo "$check: OK"
  else
    echo "$out" | tail -"$tail"
    echo "$check: FAILED ($KELVORA_WINE_ARCH-bit path)"
    return 1
  fi
}
