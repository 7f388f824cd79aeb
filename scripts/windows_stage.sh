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
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
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

ctest --test-dir "$build" --output-on-failure -j 2

# The two builders, each alone in an empty folder.
compare="$PWD/$build/compare"
rm -rf "$compare"
mkdir -p "$compare/windows" "$compare/linux"
cp "$build/scenario_builder.exe" "$compare/windows/"
cp "$linux_builder" "$compare/linux/"
windows_status=0
(cd "$compare/windows" && wine ./scenario_builder.exe 2>"$compare/windows.stderr") || windows_status=$?
linux_status=0
env -u DISPLAY "$compare/linux/scenario_builder" 2>"$compare/linux.stderr" || linux_status=$?
rm "$compare/windows/scenario_builder.exe" "$compare/linux/scenario_builder"

failed=0
if [ "$windows_status" != "$linux_status" ]; then
  echo "exit status: Windows builder $windows_status, Linux builder $linux_status"
  failed=1
fi
# The same lines; Windows ends each with a carriage return as well.
if ! diff <(tr -d '\r' <"$compare/windows.stderr") "$compare/linux.stderr"; then
  echo "the two builders said different things on standard error (< Windows, > Linux)"
  failed=1
fi
if ! diff <(ls "$compare/windows") <(ls "$compare/linux"); then
  echo "the two builders left different files (< Windows, > Linux)"
  failed=1
fi
for file in "$compare"/linux/*; do
  name="$(basename "$file")"
  [ -f "$compare/windows/$name" ] && ! cmp "$compare/windows/$name" "$file" && failed=1
done
if [ "$failed" -ne 0 ]; then
  echo "FAILED: the Windows builder does not write what the Linux builder writes"
  exit 1
fi
echo "Windows builder: status $windows_status and $(ls "$compare/linux" | wc -l) files, byte-identical to the Linux builder's"
