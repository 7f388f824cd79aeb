#!/usr/bin/env bash
# The Windows program: cross-builds it with MinGW-w64, runs its tests under
# wine on a virtual display, and checks that the Windows builder, started in an
# empty folder, writes byte for byte the files the Linux builder writes.
#
#   scripts/windows_stage.sh [LINUX_BUILDER]    (default build/release/scenario_builder)
set -euo pipefail
cd "$(dirname "$0")/.."

# Everything below on a display of its own, at 96 dpi.
if [ -z "${SCENARIO_STAGE_DISPLAY:-}" ]; then
  exec scripts/with_xvfb.sh env SCENARIO_STAGE_DISPLAY=1 "$0" "$@"
fi

linux_builder="$(realpath "${1:-build/release/scenario_builder}")"
build=build/windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_WERROR=ON >/dev/null
cmake --build "$build" -j 2

# A new wine prefix each run: nothing of an earlier run or of the user's own.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# One server for the whole stage, stopped at the end: wine's background
# services would otherwise hold CTest's pipes, and each test would wait on them.
wineserver --persistent
trap 'wineserver --kill' EXIT
wineboot --init >/dev/null 2>&1
# Debian's wine does not find its own fonts unless they are in the prefix.
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
# Without a window manager every managed window costs about two seconds.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
wine cmd /c exit

# Rarely (once in about 2000 starts here) a program under wine ends at once
# with nothing said; a test that fails is run once more. The same tests run
# natively without retries in the Linux builds.
ctest --test-dir "$build" --output-on-failure -j 2 --repeat until-pass:2

# The Linux builder alone in an empty folder, without a display: the reference.
compare="$PWD/$build/compare"
rm -rf "$compare"
mkdir -p "$compare/linux"
cp "$linux_builder" "$compare/linux/scenario_builder"
linux_status=0
env -u DISPLAY "$compare/linux/scenario_builder" 2>"$compare/linux.stderr" || linux_status=$?
rm "$compare/linux/scenario_builder"

# Runs the Windows builder alone in an empty folder (with the environment
# changes given) and holds what it did against the Linux builder.
compare_windows_builder() {
  local label="$1" folder="$compare/windows-$1" status=0 failed=0
  shift
  mkdir -p "$folder"
  cp "$build/scenario_builder.exe" "$folder/"
  (cd "$folder" && env "$@" wine ./scenario_builder.exe 2>"$folder.stderr") || status=$?
  rm "$folder/scenario_builder.exe"

  if [ "$status" != "$linux_status" ]; then
    echo "exit status: Windows builder $status, Linux builder $linux_status"
    failed=1
  fi
  # The same lines; Windows ends each with a carriage return as well.
  if ! diff <(tr -d '\r' <"$folder.stderr") "$compare/linux.stderr"; then
    echo "the two builders said different things on standard error (< Windows, > Linux)"
    failed=1
  fi
  if ! diff <(ls "$folder") <(ls "$compare/linux"); then
    echo "the two builders left different files (< Windows, > Linux)"
    failed=1
  fi
  for file in "$compare"/linux/*; do
    name="$(basename "$file")"
    if [ -f "$folder/$name" ] && ! cmp "$folder/$name" "$file"; then failed=1; fi
  done
  if [ "$failed" -ne 0 ]; then
    echo "FAILED: the Windows builder ($label) does not do what the Linux builder does"
    return 1
  fi
  echo "Windows builder ($label): status $status and $(ls "$folder" | wc -l) files," \
    "byte-identical to the Linux builder's"
}

compare_windows_builder on-the-desktop
# Without a desktop no window can be made: the build goes on without it.
compare_windows_builder without-a-desktop -u DISPLAY
