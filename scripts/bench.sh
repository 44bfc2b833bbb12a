#!/usr/bin/env bash
# Builds the optimised benchmarks and runs them all (or the ones named, e.g. RenderBench).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh bench
for program in build/bench/bench/bench_*; do
  name=$(basename "$program"); name=${name#bench_}
  if [ $# -eq 0 ] || printf '%s\n' "$@" | grep -qx "$name"; then
    QT_QPA_PLATFORM=offscreen "$program"
  fi
done
