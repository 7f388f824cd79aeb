#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test:
#   1. a Release build and 2. an AddressSanitizer + UndefinedBehavior-
#   Sanitizer build, each with the unit tests, the builder without a display
#   and the Linux window tests on a virtual display (Xvfb);
#   3. a clang build of the programs and the unit tests, and a short run of
#      every fuzz target (scripts/fuzz.sh);
#   4. the Windows program, cross-built with MinGW-w64: its tests under wine
#   and its files compared byte for byte with the Linux builder's.
# Every build here treats warnings as errors (SCENARIO_WERROR).
# Screenshots of the windows land in build/*/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."

start=$SECONDS
took() { echo "== $1 took $((SECONDS - stage_start)) s"; }

stage_start=$SECONDS
scripts/install_deps.sh
jobs=2  # the machine's two cores are shared
took "installing packages"

stage_start=$SECONDS
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSCENARIO_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"
took "release build and tests"

stage_start=$SECONDS
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DSCENARIO_SANITIZE=ON -DSCENARIO_WERROR=ON >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs"
took "sanitizer build and tests"

stage_start=$SECONDS
CXX=clang++ cmake -S . -B build/clang -DCMAKE_BUILD_TYPE=Debug -DSCENARIO_WERROR=ON -DSCENARIO_BENCH=OFF >/dev/null
cmake --build build/clang --target scenario_builder scenario_tool unit_tests -j "$jobs"
build/clang/tests/unit_tests --gtest_brief=1
took "clang build and unit tests"

stage_start=$SECONDS
scripts/fuzz.sh 20
took "fuzzing"

stage_start=$SECONDS
scripts/windows_stage.sh build/release/scenario_builder build/release/tools/scenario_tool
took "Windows stage"

echo "== every test passed in $((SECONDS - start)) s"
