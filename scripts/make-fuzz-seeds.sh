#!/usr/bin/env bash
# Remakes the seed inputs of the fuzz targets in fuzz/corpus/ (our writers, openpyxl, series
# files by hand) and the hostile inputs in fuzz/regressions/. Run after the file formats change.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh fuzz
cmake --build build/fuzz --target fuzz_make_seeds
rm -rf fuzz/corpus && mkdir -p fuzz/corpus/SeriesFuzz
build/fuzz/fuzz/fuzz_make_seeds resources/seed/Templates fuzz/corpus
/usr/bin/python3 tools/fuzz_inputs.py fuzz
