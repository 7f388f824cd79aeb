#!/usr/bin/env bash
# The Windows programs: cross-builds them with MinGW-w64, runs their tests
# under wine on a virtual display, checks that the Windows builder, started in
# an empty folder, writes byte for byte the files the Linux builder writes,
# and that the Windows author tool does and says what the Linux one does, for
# the builder's own sources and for an author's usual mistakes.
#
#   scripts/windows_stage.sh [LINUX_BUILDER [LINUX_TOOL]]
#     (defaults build/release/scenario_builder, build/release/tools/scenario_tool)
set -euo pipefail
cd "$(dirname "$0")/.."

# Everything below on a display of its own, at 96 dpi.
if [ -z "${SCENARIO_STAGE_DISPLAY:-}" ]; then
  exec scripts/with_xvfb.sh env SCENARIO_STAGE_DISPLAY=1 "$0" "$@"
fi

linux_builder="$(realpath "${1:-build/release/scenario_builder}")"
linux_tool="$(realpath "${2:-build/release/tools/scenario_tool}")"
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

# ---- The authors' tool ----
windows_tool="$PWD/$build/tools/scenario_tool.exe"
tools="$PWD/$build/compare-tools"
rm -rf "$tools"
mkdir -p "$tools"
# wine hands a Windows program its arguments in the locale's encoding: UTF-8,
# as a Linux terminal types them.
export LC_ALL=C.UTF-8
tool_failures=0
tool_failed() {
  echo "FAILED: $*"
  tool_failures=$((tool_failures + 1))
}

# init writes the same sources from both tools, and the command the Windows
# tool prints, run as a Windows user runs it (a batch file for the command
# interpreter), compiles them into the Linux builder's very files.
"$linux_tool" init "$tools/linux-init" >/dev/null
(cd "$tools" && wine "$windows_tool" init windows-init >windows-init.out 2>windows-init.err) ||
  tool_failed "the Windows tool's init ended with status $?: $(cat "$tools/windows-init.err")"
for source in line.txt train.txt; do
  cmp "$tools/windows-init/$source" "$tools/linux-init/$source" ||
    tool_failed "init: the two tools wrote different $source"
done
tr -d '\r' <"$tools/windows-init.out" | tail -n 1 | sed 's/^ *//; s/$/\r/' >"$tools/compile.bat"
(cd "$tools" && wine cmd /c compile.bat >compile.out 2>&1) ||
  tool_failed "the compile command init printed ended with status $?: $(cat "$tools/compile.bat" "$tools/compile.out")"
for file in "$compare"/linux/*.dat "$compare"/linux/*.sim; do
  cmp "$file" "$tools/windows-init/$(basename "$file")" ||
    tool_failed "init: the printed command did not compile the Linux builder's $(basename "$file")"
done
echo "Windows tool: init writes the Linux tool's sources; the command it prints compiles the builder's files"

# An author's folder for each case, the same for both tools: the builder's
# sources as init writes them, changed as the author did.
cases="$tools/cases"
new_case() {
  mkdir -p "$cases/$1"
  cp "$tools/linux-init/line.txt" "$tools/linux-init/train.txt" "$cases/$1/"
}
# Changes one source of a case with a sed script, which must change it.
edit_case() {
  local file="$cases/$1/$2"
  shift 2
  cp "$file" "$file.before"
  sed -i "$@" "$file"
  if cmp -s "$file" "$file.before"; then
    echo "FAILED: sed $* left $file as it was"
    exit 1
  fi
  rm "$file.before"
}

# Runs one command of the tool with both tools, each in a copy of the case's
# folder, and holds the Windows tool against the Linux one: the exit status
# (which must be the one expected), standard output and standard error line by
# line (Windows ends each line with a carriage return as well), and every file
# in the folder afterwards, by name and bytes.
run_both() {
  local case="$1" expected="$2" linux_status=0 windows_status=0 failed=0
  shift 2
  local linux="$tools/linux/$case" windows="$tools/windows/$case"
  mkdir -p "$linux" "$windows"
  cp -r "$cases/$case/." "$linux/"
  cp -r "$cases/$case/." "$windows/"
  (cd "$linux" && "$linux_tool" "$@" >"$linux.out" 2>"$linux.err") || linux_status=$?
  (cd "$windows" && wine "$windows_tool" "$@" >"$windows.out" 2>"$windows.err") || windows_status=$?
  if [ "$linux_status" != "$expected" ]; then
    echo "the Linux tool ended with status $linux_status, not $expected: $(cat "$linux.err")"
    failed=1
  fi
  if [ "$windows_status" != "$linux_status" ]; then
    echo "exit status: Windows tool $windows_status, Linux tool $linux_status"
    failed=1
  fi
  for stream in out err; do
    if ! diff <(tr -d '\r' <"$windows.$stream") "$linux.$stream"; then
      echo "the two tools wrote different standard $stream (< Windows, > Linux)"
      failed=1
    fi
  done
  if ! diff -r "$windows" "$linux"; then
    echo "the two tools left different files (< Windows, > Linux)"
    failed=1
  fi
  if [ "$failed" -ne 0 ]; then
    tool_failed "$case: the Windows tool does not do what the Linux tool does"
    return
  fi
  echo "Windows tool, $case: status $linux_status, the Linux tool's output and files"
}

compile_args=(compile --line line.txt --train train.txt --name ValdorenaC_Morlavesa --train-number 4721 --out out)

new_case built-in
run_both built-in 0 "${compile_args[@]}"

new_case not-a-number
edit_case not-a-number line.txt 's/^pendenza,  300,   3\r$/pendenza,  300,   quindici\r/'
run_both not-a-number 2 "${compile_args[@]}"

new_case keyword-typo
edit_case keyword-typo line.txt 's/^pendenza,  1000,/pendeza,  1000,/'
run_both keyword-typo 0 "${compile_args[@]}"

new_case stations-swapped
edit_case stations-swapped train.txt '/PIANVERDE\r$/{h;d};/CASTELMORO\r$/G'
run_both stations-swapped 2 "${compile_args[@]}"

new_case gradient-past-the-end
edit_case gradient-past-the-end line.txt 's/^pendenza,  42200,   0\r$/pendenza,  60000,   5\r/'
run_both gradient-past-the-end 2 "${compile_args[@]}"

new_case missing-file
rm "$cases/missing-file/train.txt"
run_both missing-file 1 "${compile_args[@]}"

# Names and paths beyond ASCII: typed in UTF-8, stored in Windows-1252, kept
# in file names as typed; a name the code page lacks is refused alike.
new_case accented-name
run_both accented-name 0 compile --line line.txt --train train.txt --name Città --train-number 4721 --out out
new_case name-beyond-the-code-page
run_both name-beyond-the-code-page 1 compile --line line.txt --train train.txt --name Łódź --train-number 4721 \
  --out out
new_case accented-paths
mv "$cases/accented-paths/line.txt" "$cases/accented-paths/línea è.txt"
run_both accented-paths 0 compile --line "línea è.txt" --train train.txt --name Città --train-number 4721 \
  --out "uscita à"
# A compiled scenario of an accented name, in an accented folder, read back.
# The files are named as the author names them: a folder's files are shown
# with the system's own separator.
new_case inspect-accented
"$linux_tool" compile --line "$cases/inspect-accented/line.txt" --train "$cases/inspect-accented/train.txt" \
  --name Città --train-number 4721 --out "$cases/inspect-accented/città" >/dev/null
run_both inspect-accented 0 inspect città/Città_4721.sim città/Città_4721.dat città/Città_linea.dat

# Without cairo the Windows tool draws no route sheet, and says so.
plot_status=0
(cd "$tools/windows/built-in" && wine "$windows_tool" plot out -o route.svg >"$tools/plot.out" 2>"$tools/plot.err") ||
  plot_status=$?
if [ "$plot_status" != 1 ] || ! grep -q "plot is not in this build" "$tools/plot.err" ||
  [ -e "$tools/windows/built-in/route.svg" ]; then
  tool_failed "plot in the Windows tool: status $plot_status, $(cat "$tools/plot.err")"
fi

if [ "$tool_failures" -ne 0 ]; then
  echo "FAILED: $tool_failures checks of the Windows tool"
  exit 1
fi
