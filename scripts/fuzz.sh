#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each of them, sharing SECONDS
# (default 60) between them. Starts from the seeds in fuzz/corpus/ and the
# kept findings in fuzz/regressions/, with the keyword dictionary; what a run
# learns goes to build/fuzz/corpus/, never into the repository. Fails on any
# finding, which is left in build/fuzz/findings/ to be fixed and kept as a
# regression case (fuzz/regressions/TARGET/).
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

total=${1:-60}
targets=(compile decoder field_reader)
build=build/fuzz

scripts/install_deps.sh
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_FUZZ=ON \
  -DBUILD_TESTING=OFF -DSCENARIO_WERROR=ON >/dev/null
cmake --build "$build" --target "${targets[@]/%/_fuzzer}" -j 2

share=$(( total / ${#targets[@]} ))
[ "$share" -ge 1 ] || share=1
mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/$target.log"
  echo "== $target: $share s"
  if ! "$build/fuzz/${target}_fuzzer" -max_total_time="$share" -dict=fuzz/sources.dict -print_final_stats=1 \
      -artifact_prefix="$build/findings/$target-" "$corpus" "fuzz/corpus/$target" "fuzz/regressions/$target" \
      >"$log" 2>&1; then
    status=1
    echo "FINDING in $target (see $log; the input is in $build/findings/):"
    grep -E 'ERROR|SUMMARY|==[0-9]+==' "$log" | head -n 20 || true
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" || true
  grep -E '^#[0-9]+ +DONE' "$log" | tail -n 1 || true
done
exit "$status"
