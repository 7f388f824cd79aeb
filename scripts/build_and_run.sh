#!/usr/bin/env bash
# Installs what is missing, builds the builder and runs it in a folder of its
# own, where it leaves the scenario's compiled files and crew documents.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install_deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target scenario_builder -j "$(nproc)"

out="$PWD/out"
mkdir -p "$out"
cp build/release/scenario_builder "$out/"
status=0
"$out/scenario_builder" || status=$?
echo "builder finished with status $status; files written to $out:"
ls -l "$out"
exit "$status"
