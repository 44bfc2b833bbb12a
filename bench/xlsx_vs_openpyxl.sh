#!/usr/bin/env bash
# Reads the benchmark workbook (100,000 rows x 10 columns) with Festiloom's reader and with
# openpyxl in read-only mode, and prints both speeds and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."

bench=build/bench/bench/bench_WorkbookBench
[ -x "$bench" ] || bash scripts/build.sh bench >/dev/null

workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
workbook="$workdir/bench.xlsx"

FESTILOOM_BENCH_WORKBOOK="$workbook" "$bench" --benchmark_filter=BM_ReadWorkbook \
    --benchmark_format=json >"$workdir/ours.json"

/usr/bin/python3 - "$workbook" "$workdir/ours.json" <<'PY'
import json, sys, time
import openpyxl

workbook, ours_json = sys.argv[1], sys.argv[2]
best = None
for _ in range(2):
    start = time.perf_counter()
    wb = openpyxl.load_workbook(workbook, read_only=True)
    cells = 0
    for row in wb.worksheets[0].iter_rows(values_only=True):
        cells += len(row)
    wb.close()
    elapsed = time.perf_counter() - start
    best = elapsed if best is None else min(best, elapsed)

ours = next(b for b in json.load(open(ours_json))["benchmarks"] if b["name"].startswith("BM_ReadWorkbook"))
ours_rate = ours["cells_per_s"]
theirs_rate = cells / best
print(f"cells read:          {cells}")
print(f"openpyxl read-only:  {theirs_rate:12,.0f} cells/s ({best:.2f} s)")
print(f"Festiloom reader:    {ours_rate:12,.0f} cells/s")
print(f"ratio:               {ours_rate / theirs_rate:.1f}x")
print(f"peak memory growth:  {ours['peak_growth_MiB']:.1f} MiB for {ours['sheet_xml_MiB']:.1f} MiB of sheet XML "
      f"({ours['peak_per_sheet_xml']:.2f}x)")
PY
