#!/usr/bin/env bash
# Measures the builder and the author tool against the disk: each program run
# is paired with copying the same bytes it leaves (cp) and syncing them (sync
# on the copied files), in alternating order, and the script prints the median
# wall times, the median of the paired ratios, and the program's peak resident
# memory (the largest over the runs) against the size of what it writes.
#
#   scripts/bench.sh            # 9 paired runs of each case
#   RUNS=21 scripts/bench.sh    # more runs
#   BUILDER=other/scenario_builder TOOL=other/scenario_tool scripts/bench.sh
#                               # the same cases for other builds of the programs
#   SYNC=all scripts/bench.sh   # the copy synced with a plain `sync` (every file
#                               # system, whatever else is waiting to be written)
#
# Cases: the builder (the built-in scenario: two sources, three crew documents,
# three compiled files), and the author tool on the built-in route and on the
# generated 1,000,000 m route (three compiled files each). The runs happen in
# build/release/bench_runs, on the disk the build lives on: a temporary folder
# may be memory, where syncing costs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-9}
unset DISPLAY  # the builder then runs without its window, as on a server
build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target scenario_builder scenario_tool write_bench_sources >/dev/null

work=$(realpath -m "$build/bench_runs")
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
"$build/bench/write_bench_sources" "$work/sources"
builder=$(realpath "${BUILDER:-$build/scenario_builder}")
tool=$(realpath "${TOOL:-$build/tools/scenario_tool}")

now_ns() { date +%s%N; }

# run_case NAME OUT_FOLDER COMMAND...: the command leaves its files in OUT_FOLDER
# (and nothing else there); each run starts from an empty OUT_FOLDER.
run_case() {
  local name=$1 out=$2
  shift 2
  local copy="$work/copy" times="$work/times" t0 t1 program_ns copy_ns rss=0 bytes=0 files
  : >"$times"
  for ((i = 0; i < runs; i++)); do
    for turn in 0 1; do
      if (((i + turn) % 2 == 0)); then
        # The program, in a folder holding only what it needs before it starts.
        find "$out" -mindepth 1 ! -name scenario_builder -delete
        t0=$(now_ns)
        /usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>"$work/stderr" ||
          { echo "$name failed:" >&2; cat "$work/stderr" >&2; exit 1; }
        t1=$(now_ns)
        program_ns=$((t1 - t0))
        rss=$(awk -v before="$rss" '{ print ($1 > before ? $1 : before) }' "$work/rss")
      else
        # The same bytes copied and synced (the first pair runs the program first).
        mapfile -t files < <(find "$out" -mindepth 1 -type f ! -name scenario_builder | sort)
        rm -rf "$copy" && mkdir -p "$copy"
        t0=$(now_ns)
        cp -- "${files[@]}" "$copy/"
        if [ "${SYNC:-files}" = all ]; then sync; else sync -- "$copy"/*; fi
        t1=$(now_ns)
        copy_ns=$((t1 - t0))
      fi
    done
    echo "$program_ns $copy_ns" >>"$times"
  done
  bytes=$(find "$out" -mindepth 1 -type f ! -name scenario_builder -printf '%s\n' | awk '{ s += $1 } END { print s }')
  awk -v name="$name" -v rss_kb="$rss" -v bytes="$bytes" '
    function median(a, n,   i, j, t) {
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
      return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
    }
    { program[NR] = $1 / 1e6; copy[NR] = $2 / 1e6; ratio[NR] = $1 / $2 }
    END {
      out_mb = bytes / 1e6; rss_mb = rss_kb * 1024 / 1e6
      printf "%-22s %4d %10.1f %10.1f %7.2fx %9.2f %8.1f %8.1f %6.2fx\n", name, NR, median(program, NR),
             median(copy, NR), median(ratio, NR), out_mb, rss_mb, 1.5 * out_mb + 12, rss_mb / out_mb
    }' "$times"
}

printf "%-22s %4s %10s %10s %8s %9s %8s %8s %7s\n" case runs "wall ms" "cp+sync ms" ratio "output MB" "peak MB" \
  "1.5x+12" "peak/out"

mkdir -p "$work/builder"
cp "$builder" "$work/builder/scenario_builder"
run_case "builder, built-in" "$work/builder" "$work/builder/scenario_builder"

for route in built_in long; do
  if [ $route = built_in ]; then name=ValdorenaC_Morlavesa train=4721; else name=Long train=9999; fi
  mkdir -p "$work/tool_$route"
  run_case "author tool, $route" "$work/tool_$route" "$tool" compile \
    --line "$work/sources/$route/${name}_linea.txt" --train "$work/sources/$route/${name}_${train}-.txt" \
    --name "$name" --train-number "$train" --out "$work/tool_$route"
done
echo "(medians of $runs paired runs; ratio: the median of program / cp+sync over the pairs; sync: ${SYNC:-files};" \
  "peak: the program's maximum resident set; MB = 10^6 bytes)"
