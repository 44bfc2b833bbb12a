#!/usr/bin/env bash
# Reads the benchmark workbook (100,000 rows x 10 columns) with Festiloom's reader and with
# openpyxl in read-only mode, and prints both speeds and their ratio. Both speeds come from the
# median wall time of three reads: ours reads on up to four threads, so its CPU time would
# overstate it. Prefix with taskset to pin the cores; the cores used and the load are printed.
set -euo pipefail
cd "$(dirname "$0")/.."

bench=build/bench/bench/bench_WorkbookBench
[ -x "$bench" ] || bash scripts/build.sh bench >/dev/null

workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
workbook="$workdir/bench.xlsx"

FESTILOOM_BENCH_WORKBOOK="$workbook" "$bench" --benchmark_filter=BM_ReadWorkbook \
    --benchmark_repetitions=3 --benchmark_format=json >"$workdir/ours.json"

/usr/bin/python3 - "$workbook" "$workdir/ours.json" <<'PY'
import json, os, statistics, sys, time
import openpyxl

workbook, ours_json = sys.argv[1], sys.argv[2]
times = []
for _ in range(3):
    start = time.perf_counter()
    wb = openpyxl.load_workbook(workbook, read_only=True)
    cells = 0
    for row in wb.worksheets[0].iter_rows(values_only=True):
        cells += len(row)
    wb.close()
    times.append(time.perf_counter() - start)
theirs_s = statistics.median(times)

to_seconds = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
runs = [b for b in json.load(open(ours_json))["benchmarks"]
        if b["name"].startswith("BM_ReadWorkbook") and b.get("run_type") == "iteration"]
ours_s = statistics.median(b["real_time"] * to_seconds[b["time_unit"]] for b in runs)
ours = runs[-1]
cores = len(os.sched_getaffinity(0))
print(f"cells read:          {cells}")
print(f"openpyxl read-only:  {cells / theirs_s:12,.0f} cells/s ({theirs_s:.3f} s, median of {len(times)}, 1 thread)")
print(f"Festiloom reader:    {cells / ours_s:12,.0f} cells/s ({ours_s:.3f} s, median of {len(runs)}, "
      f"{int(ours['reader_threads'])} threads)")
print(f"ratio:               {theirs_s / ours_s:.1f}x   (wall time; {cores} of {os.cpu_count()} cores usable; "
      f"load average {' '.join(f'{x:.2f}' for x in os.getloadavg())})")
print(f"peak memory growth:  {ours['peak_growth_MiB']:.1f} MiB for {ours['sheet_xml_MiB']:.1f} MiB of sheet XML "
      f"({ours['peak_per_sheet_xml']:.2f}x)")
PY
